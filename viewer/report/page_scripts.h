// The scripts written into derived stylesheets. The page view runs
// JavaScript only, so the fit-to-width and fixed-heading computations are
// written in it: the same measurements and formulas, on the same element ids
// ("body", "PageHeader", "KeepTop", "KeepBottom"). The text must stay valid
// inside an XSL file: no "<" and no "&".
#pragma once

namespace repscope::report {

// Page width: measure the scroll bar, then zoom the body so that the page
// heading fills the window beside it.
inline constexpr const char kPageWidthScript[] =
    "<SCRIPT type=\"text/javascript\">\n"
    "window.addEventListener(\"load\", function () {\n"
    "    var body = document.getElementById(\"body\");\n"
    "    var PageHeader = document.getElementById(\"PageHeader\");\n"
    "    if (!body || !PageHeader) return;\n"
    "    var view = document.scrollingElement || document.documentElement;\n"
    "    var headerWidth = Math.max(PageHeader.offsetWidth, PageHeader.scrollWidth);\n"
    "    var scrollbarWidth = window.innerWidth - view.clientWidth;\n"
    "    view.style.overflowY = \"hidden\";\n"
    "    scrollbarWidth = scrollbarWidth - (window.innerWidth - view.clientWidth);\n"
    "    var zoomRatio = view.clientWidth / headerWidth;\n"
    "    var scrollbarNew = (scrollbarWidth * zoomRatio);\n"
    "    if (zoomRatio > 1) {\n"
    "      scrollbarNew = scrollbarNew + 1;\n"
    "    }\n"
    "    body.style.zoom = (view.clientWidth - scrollbarNew) / headerWidth;\n"
    "    view.style.overflowY = \"auto\";\n"
    "});\n"
    "</SCRIPT>\n";

// Hold heading: zoom the body to the width of the scrolling box and give the
// box the height the window has left below the heading.
inline constexpr const char kHoldHeadingScript[] =
    "<SCRIPT type=\"text/javascript\">\n"
    "window.addEventListener(\"load\", function () {\n"
    "    var body = document.getElementById(\"body\");\n"
    "    var KeepTop = document.getElementById(\"KeepTop\");\n"
    "    var KeepBottom = document.getElementById(\"KeepBottom\");\n"
    "    if (!body || !KeepTop || !KeepBottom) return;\n"
    "    var view = document.scrollingElement || document.documentElement;\n"
    "    view.style.overflowY = \"hidden\";\n"
    "    var clientWidth = view.clientWidth;\n"
    "    var clientHeight = view.clientHeight;\n"
    "    var zoomRatio = clientWidth / KeepBottom.offsetWidth;\n"
    "    body.style.zoom = (clientWidth / KeepBottom.offsetWidth);\n"
    "    KeepBottom.style.height = (clientHeight / zoomRatio - KeepTop.offsetTop -\n"
    "        KeepTop.clientHeight - KeepTop.offsetTop) + \"px\";\n"
    "});\n"
    "</SCRIPT>\n";

}  // namespace repscope::report
