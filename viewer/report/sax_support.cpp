// The shared parse routine and the error callbacks of the viewer's handlers.
#include "viewer/report/sax_support.h"

#include <xercesc/framework/XMLPScanToken.hpp>
#include <xercesc/parsers/SAXParser.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>

#include <memory>

#include "viewer/report/xml_libraries.h"

namespace repscope::report {

void ParseMessages::append(std::string_view piece) {
  if (text_.size() + piece.size() > kCapacity) return;
  text_.append(piece);
}

std::string to_utf8(const XMLCh* text) {
  if (!text) return std::string();
  return to_utf8(text, xercesc::XMLString::stringLen(text));
}

std::string to_utf8(const XMLCh* text, XMLSize_t length) {
  if (!text || length == 0) return std::string();
  xercesc::TranscodeToStr bytes(text, length, "UTF-8");
  return std::string(reinterpret_cast<const char*>(bytes.str()), bytes.length());
}

void append_escaped(std::string& out, std::string_view text, bool in_attribute) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        if (in_attribute) {
          out += "&quot;";
          break;
        }
        out += c;
        break;
      default:
        out += c;
    }
  }
}

void ReportSaxHandler::record(const char* intro, const xercesc::SAXParseException& e) {
  messages.append(intro);
  messages.append(to_utf8(e.getSystemId()));
  messages.append(", line ");
  messages.append(std::to_string(e.getLineNumber()));
  messages.append(", char ");
  messages.append(std::to_string(e.getColumnNumber()));
  messages.append("): ");
  messages.append(to_utf8(e.getMessage()));
}

void ReportSaxHandler::error(const xercesc::SAXParseException& e) {
  record("\nError at (file ", e);
}

void ReportSaxHandler::fatalError(const xercesc::SAXParseException& e) {
  record("\nFatal Error at (file ", e);
}

void ReportSaxHandler::warning(const xercesc::SAXParseException& e) {
  record("\nWarning at (file ", e);
}

bool parse_report_file(const std::string& path, ReportSaxHandler& handler,
                       const char* exception_intro) {
  ensure_xml_libraries();
  try {
    auto parser = std::make_unique<xercesc::SAXParser>();
    parser->setValidationScheme(xercesc::SAXParser::Val_Auto);
    parser->setDoNamespaces(false);
    parser->setDoSchema(false);
    parser->setDocumentHandler(&handler);
    parser->setErrorHandler(&handler);
    // A progressive parse, so a handler that has what it needs can end it.
    xercesc::XMLPScanToken token;
    bool more = parser->parseFirst(path.c_str(), token);
    while (more && !handler.stopped())
      more = parser->parseNext(token);
    if (handler.stopped()) parser->parseReset(token);
  } catch (const xercesc::OutOfMemoryException&) {
    handler.messages.append(exception_intro);
    handler.messages.append("Out of memory");
  } catch (const xercesc::XMLException& e) {
    handler.messages.append(exception_intro);
    handler.messages.append(to_utf8(e.getMessage()));
  } catch (const xercesc::SAXException& e) {
    handler.messages.append(exception_intro);
    handler.messages.append(to_utf8(e.getMessage()));
  } catch (const std::exception& e) {
    handler.messages.append(exception_intro);
    handler.messages.append(e.what());
  }
  return handler.messages.empty();
}

}  // namespace repscope::report
