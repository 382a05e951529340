// The pixel geometry of fields, text trimming and the shrinking rule.
#include "client/screen/field_layout.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "client/screen/field_flags.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;

namespace {
// Cells are reals; two edges closer than this are the same column.
constexpr double kTolerance = 0.000001;

bool same(double a, double b) {
  return std::fabs(a - b) < kTolerance;
}

bool edit_or_prompt(const ScreenField& f) {
  return f.type == ft::kEdit || f.type == ft::kPrompt;
}

double right_edge(const ScreenField& f) {
  return f.column.real + f.width.real;
}

bool rows_overlap(const ScreenField& a, const ScreenField& b) {
  return a.row.real < b.row.real + b.height.real - kTolerance &&
         b.row.real < a.row.real + a.height.real - kTolerance;
}

int percent_of(const ScreenField& f) {
  return f.size_percent == 0 ? 100 : f.size_percent;
}

// The border flags the rules read: edits and three-state check boxes
// without any border or row flag count as boxed with a static edge.
std::uint32_t border_flags(const ScreenField& f) {
  std::uint32_t flags = f.flags;
  if ((f.type == ft::kEdit || f.type == ft::kCheckBox) &&
      !(flags & (ff::kAnyBorder | ff::kNoBorder | ff::kRow)))
    flags |= ff::kStaticEdge;
  return flags;
}

bool is_blank(char c) {
  return c == ' ';
}
bool is_blank_or_control(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}
}  // namespace

int round_pixels(double value) {
  const double whole = std::floor(value);
  int pixels = static_cast<int>(whole);
  if (value - whole >= 0.49999998) ++pixels;
  return pixels;
}

bool single_row(const ScreenField& f) {
  return f.height.real <= 1 + kTolerance;
}

bool shows_builtin_icon(const ScreenField& f) {
  if (!(f.flags & ff::kDate) || f.type != ft::kPushButton) return false;
  return (f.a >= 1 && f.a <= 18) || f.a == 22;
}

ScreenField* area_of_row_field(const ScreenWindow& w, const ScreenField& f) {
  for (const auto& owned : w.fields) {
    ScreenField& a = *owned;
    if (a.type != ft::kScrollingArea) continue;
    if (f.column.real >= a.column.real - kTolerance &&
        f.column.real < a.column.real + a.width.real - kTolerance &&
        f.row.real >= a.row.real - kTolerance &&
        f.row.real < a.row.real + a.height.real - kTolerance)
      return &a;
  }
  return nullptr;
}

void mark_neighbours(ScreenWindow& w, ScreenField& f) {
  if (!edit_or_prompt(f) || (f.flags & ff::kNoBorder)) return;
  auto mark = [](ScreenField& g, bool& flag) {
    if (!flag) {
      flag = true;
      g.extra.relayout = true;
    }
  };
  for (const auto& owned : w.fields) {
    ScreenField& o = *owned;
    if (&o == &f || !edit_or_prompt(o) || (o.flags & ff::kNoBorder) || !rows_overlap(f, o))
      continue;
    if (same(right_edge(o), f.column.real)) {
      mark(f, f.extra.left_neighbour);
      mark(o, o.extra.right_neighbour);
    }
    if (same(right_edge(f), o.column.real)) {
      mark(f, f.extra.right_neighbour);
      mark(o, o.extra.left_neighbour);
    }
  }
  f.extra.relayout = false;  // it is being laid out now
}

PixelRect compute_field_rect(const ScreenWindow& w, ScreenField& f, const LayoutMetrics& m,
                             const LayoutSizes& sizes) {
  const int cw = m.cell_width;
  const int t = m.line_height;
  const bool terminal = f.flags & ff::kTerminalFont;
  int cell_w = terminal ? m.terminal_char_width : cw;
  int line = terminal ? m.terminal_line_height : t;
  int cell_h = m.cell_height;
  const int percent = percent_of(f);
  if (single_row(f) && percent != 100) {
    cell_w = cell_w * percent / 100;
    cell_h = cell_h * percent / 100;
    line = line * percent / 100;
  }
  const double W = f.width.real, H = f.height.real;
  PixelRect r;
  r.left = round_pixels(f.column.real * cw);
  r.top = round_pixels(f.row.real * m.cell_height);
  r.width = round_pixels(W * cell_w);
  r.height = round_pixels(H * cell_h);

  FieldExtras& x = f.extra;
  if (f.flags & ff::kRow) {
    x.ends_at_separator = false;
    if (const ScreenField* area = area_of_row_field(w, f)) {
      r.left -= area->pixels.left + 4;
      r.top -= area->pixels.top + 3;
      for (int s : area->extra.separators)
        if (same(right_edge(f), s)) x.ends_at_separator = true;
      const double k = right_edge(f) - right_edge(*area);
      if (k > kTolerance && k < W - kTolerance) r.width -= round_pixels(k * cw);
    }
  }

  switch (f.type) {
    case ft::kEdit:
    case ft::kPrompt:
    case ft::kCheckBox: {
      if (x.minimum_width == 0 && W <= 4 + kTolerance && (f.flags & ff::kMinimumWidth) &&
          !x.right_neighbour && !x.ends_at_separator) {
        x.minimum_width = round_pixels((W + 1) * cw) - ((f.flags & ff::kRow) ? 1 : 0);
        x.right_neighbour = true;
      }
      int minimum = x.minimum_width;
      const std::uint32_t b = border_flags(f);
      const bool one_cell = W <= 1 + kTolerance;
      if (b & ff::kRow) {
        r.top += 2;
        r.height -= 1;
        if (x.ends_at_separator) {
          if (m.max_char_width != cw) r.width -= 1;
        } else if (one_cell && (f.type == ft::kEdit || !x.right_neighbour)) {
          r.width = 2 * cell_w - 1;
        } else if (minimum > 0) {
          r.width = minimum;
        }
      } else if ((b & ff::kDialogFrame) || ((b & ff::kStaticEdge) && f.type != ft::kPrompt)) {
        if ((b & ff::kDialogFrame) && r.top > 0) {
          r.top -= 1;
          r.height += 1;
        }
        if (single_row(f)) r.width += 4;
        if (f.type == ft::kEdit && !x.right_neighbour) r.width += 2;
        r.width = std::max({r.width, minimum, 16});
        if (!single_row(f)) {
          const int rows = std::max(1, (r.height - 4) / (t + 1));
          r.height = rows * (t + 1) + 4;
          if (f.type == ft::kEdit) {
            if (terminal && r.width < w.pixels.width) r.width += cell_w;
            r.width += m.scroll_bar_width;
          }
        }
      } else if (b & (ff::kThinBorder | ff::kStaticEdge)) {
        if ((b & ff::kAnyBorder) == ff::kThinBorder) {
          r.height -= 2;
          r.top += 1;
        }
        if (!(f.type == ft::kPrompt && (b & ff::kStaticEdge) && x.right_neighbour)) r.width += 1;
        if (minimum == 0) minimum = std::max(std::min(cell_w * 3 / 2, m.max_char_width + 4), 16);
        if (!x.right_neighbour) {
          r.width += 3;
          r.width = std::max(r.width, minimum);
        } else if (!x.left_neighbour && r.left >= 3) {
          r.left -= 3;
          r.width += 3;
          r.width = std::max(r.width, minimum);
        }
      } else {
        if (x.left_neighbour) {
          r.width -= 1;
          r.left += 1;
        }
        if (!x.right_neighbour) {
          if (minimum == 0) minimum = 2 * cell_w - 1 - (x.left_neighbour ? 1 : 0);
          r.width = std::max({r.width, minimum, 16});
        }
        if (line > t) {
          r.height = round_pixels(H * line);
        } else {
          r.top += 2;
          r.height = round_pixels(H * t);
        }
      }
      if (f.type == ft::kCheckBox && sizes.caption_width)
        r.width = r.height + sizes.caption_width(f);
      break;
    }
    case ft::kPushButton: {
      const std::optional<PixelSize> normal =
          sizes.image_size ? sizes.image_size(f, 0) : std::nullopt;
      if (normal && normal->width > 0 && normal->height > 0) {
        const bool pressed = sizes.image_size && sizes.image_size(f, 1).has_value();
        if (W < 2 && H < 2) {
          r.width = normal->width + (pressed ? 0 : 4);
          r.height = normal->height + (pressed ? 0 : 4);
        } else if (!(f.flags & ff::kFlashing)) {
          // Keep the image's proportions: the side that has room to spare shrinks.
          if (static_cast<long long>(r.width) * normal->height <
              static_cast<long long>(r.height) * normal->width) {
            r.height =
                static_cast<int>(static_cast<long long>(r.width) * normal->height / normal->width);
          } else {
            r.width =
                static_cast<int>(static_cast<long long>(r.height) * normal->width / normal->height);
          }
        }
      } else {
        r.width += 6;
      }
      if (shows_builtin_icon(f)) r.height = std::max(r.height, 20);
      break;
    }
    case ft::kGroupFrame:
      if (!(f.flags & ff::kMinimumWidth)) {
        r.left += cw / 2;
        r.top += m.cell_height / 2;
      }
      r.width = W <= 1 + kTolerance ? 2 : round_pixels(W * cell_w) - cw + 2;
      r.height = H <= 1 + kTolerance ? 2 : round_pixels(H * cell_h) - m.cell_height + 2;
      break;
    case ft::kScrollingArea:
      r.top = std::max(0, r.top - 1);
      r.left += 1;
      r.height += 1;
      r.width += m.scroll_bar_width;
      break;
    case ft::kPicture: {
      const std::optional<PixelSize> natural =
          sizes.image_size ? sizes.image_size(f, 0) : std::nullopt;
      if (natural) {
        const bool small = W <= 1 + kTolerance && H <= 1 + kTolerance;
        const bool roomy = r.width >= natural->width && r.height >= natural->height;
        if (small || roomy) {
          const int border = (f.flags & (ff::kStaticEdge | ff::kDialogFrame)) ? 4
                             : (f.flags & ff::kThinBorder)                    ? 2
                                                                              : 0;
          if (W <= 1 + kTolerance) r.width = natural->width + border;
          if (H <= 1 + kTolerance) r.height = natural->height + border;
        }
      }
      if (w.pixels.width > 0) r.width = std::min(r.width, std::max(0, w.pixels.width - r.left));
      if (w.pixels.height > 0) r.height = std::min(r.height, std::max(0, w.pixels.height - r.top));
      break;
    }
    case ft::kGridColumn:
      if (W >= 1 - kTolerance && W <= 4 + kTolerance)
        r.width += cell_w / std::max<int>(1, f.width.byte);
      break;
    case ft::kRadioButton:
      if (sizes.caption_width) r.width = r.height + sizes.caption_width(f);
      break;
    default:
      break;
  }
  return r;
}

std::vector<ScreenField*> lay_out_field(ScreenWindow& w, ScreenField& f, const LayoutMetrics& m,
                                        const LayoutSizes& sizes) {
  std::vector<ScreenField*> done;
  mark_neighbours(w, f);
  f.pixels = compute_field_rect(w, f, m, sizes);
  done.push_back(&f);
  for (const auto& owned : w.fields) {
    ScreenField& o = *owned;
    if (!o.extra.relayout) continue;
    o.extra.relayout = false;
    o.pixels = compute_field_rect(w, o, m, sizes);
    done.push_back(&o);
  }
  return done;
}

std::string normalise_field_text(const ScreenField& f, std::string_view text) {
  std::string s(text.substr(0, 1022));
  if (!single_row(f) || (f.type != ft::kPrompt && f.type != ft::kEdit)) return s;
  auto trim_leading = [&s] {
    std::size_t i = 0;
    while (i < s.size() && is_blank(s[i]))
      ++i;
    s.erase(0, i);
  };
  auto trim_trailing = [&s] {
    while (!s.empty() && is_blank_or_control(s.back()))
      s.pop_back();
  };
  if (f.type == ft::kEdit) {
    if (f.flags & ff::kRightAligned) trim_leading();
    trim_trailing();
    return s;
  }
  if (f.flags & ff::kRightAligned) {
    trim_leading();
    if ((f.flags & (ff::kWindowColours | ff::kReverse)) == ff::kWindowColours && !s.empty() &&
        s.back() == ':') {
      s.pop_back();
      while (!s.empty() && is_blank(s.back()))
        s.pop_back();
      s += ':';
    } else {
      trim_trailing();
    }
  } else if (f.flags & ff::kCentred) {
    trim_trailing();
  }
  return s;
}

bool shrink_applies(const ScreenField& f) {
  if (!single_row(f) || f.size_percent != 0) return false;
  if (f.type == ft::kEdit) return true;
  return f.type == ft::kPrompt && f.width.real <= 20 + kTolerance &&
         (f.flags & (ff::kAnyBorder | ff::kRow));
}

int inner_text_width(const ScreenField& f) {
  int less = 0;
  if (f.flags & ff::kRow) {
    less = 0;
  } else if ((f.flags & (ff::kStaticEdge | ff::kDialogFrame)) ||
             (f.type == ft::kEdit && !(f.flags & (ff::kAnyBorder | ff::kNoBorder)))) {
    less = 4;
  } else if (f.flags & ff::kThinBorder) {
    less = 2;
  }
  return f.pixels.width - less;
}

int fit_text(ScreenField& f, std::string_view text, const TextMeasure& measure) {
  FieldExtras& x = f.extra;
  auto full_size = [&x] {
    x.shrunk_font = false;
    x.font_percent = 0;
    return 0;
  };
  if (!shrink_applies(f) || !measure.width || !measure.height) return full_size();
  std::string_view measured = text;
  if (f.flags & (ff::kCentred | ff::kRightAligned)) {
    while (!measured.empty() && is_blank(measured.front()))
      measured.remove_prefix(1);
  }
  if (!(f.flags & ff::kRightAligned)) {
    while (!measured.empty() && is_blank(measured.back()))
      measured.remove_suffix(1);
  }
  const int room = inner_text_width(f);
  const int natural = measure.width(100, measured);
  const bool lower = std::any_of(measured.begin(), measured.end(), [](char c) {
    return std::islower(static_cast<unsigned char>(c));
  });
  if (natural <= room || lower) return full_size();

  x.shrunk_font = true;
  const int normal_height = measure.height(100);
  int best_width = natural;
  int best_percent = 0;
  for (int p = 95; p >= 70; p -= 5) {
    const int width = measure.width(p, measured);
    if (width > best_width || measure.height(p) * 100 < normal_height * 75) continue;
    best_width = width;
    best_percent = p;
    if (width <= room) break;
  }
  x.font_percent = best_percent;
  if (best_percent == 0) x.shrunk_font = false;
  return best_percent;
}

}  // namespace veslink
