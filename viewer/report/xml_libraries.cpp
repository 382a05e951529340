// Start and stop of Xerces-C and Xalan-C in the order they require.
#include "viewer/report/xml_libraries.h"

#include <xalanc/XalanTransformer/XalanTransformer.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <mutex>

namespace repscope::report {

namespace {
std::mutex g_mutex;
bool g_started = false;
}  // namespace

void ensure_xml_libraries() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_started) return;
  xercesc::XMLPlatformUtils::Initialize();
  xalanc::XalanTransformer::initialize();
  g_started = true;
}

XmlLibrariesScope::~XmlLibrariesScope() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_started) return;
  xalanc::XalanTransformer::terminate();
  xercesc::XMLPlatformUtils::Terminate();
  xalanc::XalanTransformer::ICUCleanUp();
  g_started = false;
}

}  // namespace repscope::report
