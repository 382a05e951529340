// Font descriptions to Qt fonts, and their measurements.
#include "client/prefs/fonts.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace veslink {

void set_default_fonts(ClientSettings& s, int screen_width) {
  const bool small_screen = screen_width <= 640;
  s.normal_font = FontSpec{"Arial", small_screen ? 12 : 15, 400, 1, kVariablePitch, 0};
  s.fixed_font =
      FontSpec{"Courier New",       small_screen ? 15 : 16, 400, 1, kFixedPitch | kFamilyModern,
               small_screen ? 0 : 8};
}

QFont make_font(const FontSpec& spec) {
  QFont font(QString::fromLocal8Bit(spec.face.c_str()));
  if (spec.height != 0)
    font.setPixelSize(static_cast<int>(spec.height < 0 ? -spec.height : spec.height));
  font.setWeight(spec.weight >= 700 ? QFont::Bold : QFont::Normal);
  const bool fixed = (spec.pitch_family & 3) == kFixedPitch;
  font.setFixedPitch(fixed);
  font.setStyleHint(fixed ? QFont::TypeWriter : QFont::SansSerif);
  if (spec.width > 0) {
    // A requested average width becomes a horizontal stretch of the font.
    const int natural = QFontMetrics(font).averageCharWidth();
    if (natural > 0) font.setStretch(static_cast<int>(spec.width * 100 / natural));
  }
  return font;
}

namespace {
int char_width(const QFont& font) {
  QFontMetrics m(font);
  if (QFontInfo(font).fixedPitch()) return m.averageCharWidth();
  return m.horizontalAdvance(QLatin1Char('M')) - 1;
}
}  // namespace

CellMetrics compute_cell_metrics(const FontSpec& screen_spec, const FontSpec& terminal_spec) {
  const QFont screen = make_font(screen_spec);
  const QFont terminal = make_font(terminal_spec);
  QFontMetrics sm(screen), tm(terminal);
  CellMetrics c;
  c.terminal_char_width = char_width(terminal);
  c.terminal_line_height = tm.height() + tm.leading();
  c.screen_char_width = char_width(screen);
  c.screen_max_char_width = sm.maxWidth();
  c.screen_line_height = sm.height() + sm.leading();
  c.cell_height = c.screen_line_height + 4;
  return c;
}

CellMetrics& cell_metrics() {
  static CellMetrics metrics;
  return metrics;
}

}  // namespace veslink
