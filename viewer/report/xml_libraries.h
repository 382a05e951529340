// Xerces-C and Xalan-C must be started once per process and stopped in one
// fixed order (any other order crashes); this is the one place that does it.
#pragma once

namespace repscope::report {

// Starts both libraries on first use; safe to call from any parse or transform.
void ensure_xml_libraries();

// Held by main(): stops the libraries at its end when they were started.
// Every parser, transformer and compiled stylesheet must be gone by then.
class XmlLibrariesScope {
 public:
  XmlLibrariesScope() = default;
  ~XmlLibrariesScope();
  XmlLibrariesScope(const XmlLibrariesScope&) = delete;
  XmlLibrariesScope& operator=(const XmlLibrariesScope&) = delete;
};

}  // namespace repscope::report
