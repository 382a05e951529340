// The wait page's fixed text.
#include "viewer/report/wait_page.h"

#include "viewer/report/report_file.h"

namespace repscope::report {

const char kWaitPageText[] =
    "<HTML>\n<HEAD>\n<TITLE>XML View</TITLE>\n<SCRIPT LANGUAGE=\"JavaScript\">\nvar I = 0;\n"
    "function scrollit() {\nif (I == 1000) {stop = true}\nelse {\nself.scroll(1,I);\n"
    "I = eval(I + 1);\nsetTimeout(\"scrollit()\", 5);\n}\n}\n</SCRIPT>\n</HEAD>\n"
    "<BODY OnLoad=\"scrollit()\" TEXT=\"#FFFFFF\">\n<CENTER>\n"
    "<P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P>\n"
    "<P>&nbsp;</P>\n<center>\n"
    "<font size=\"6\" color=\"008000\" FACE=\"Tahoma\"><b>Loading xml report...</b></font>\n"
    "<P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P>\n"
    "</CENTER>\n</BODY>\n</HTML>";

bool write_wait_page(const std::string& path) {
  TargetFile file;
  if (!file.create(path)) return false;
  file.write(kWaitPageText);
  return file.close();
}

}  // namespace repscope::report
