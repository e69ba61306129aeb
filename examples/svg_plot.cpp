// The demo's SVG writer: data coordinates are mapped linearly (or logarithmically in x) onto a
// fixed 720 x 440 canvas with margins for the axes, ticks at 1-2-5 steps.
#include "svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace demo {

namespace {

constexpr double kWidth = 720, kHeight = 440;
constexpr double kLeft = 80, kRight = 110, kTop = 40, kBottom = 60;
const char* const kColours[] = {"#1f5fa8", "#2a8a3e", "#8a4fa8", "#b07a00"};

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

// Tick label: few significant digits, no trailing zeros.
std::string Label(double v) {
  if (std::fabs(v) < 1e-12) v = 0.0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

// Ticks over [lo, hi] at a 1-2-5 step giving about six intervals.
std::vector<double> Ticks(double lo, double hi) {
  const double raw = (hi - lo) / 6.0;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  double step = mag;
  for (const double m : {1.0, 2.0, 5.0, 10.0}) {
    step = m * mag;
    if (step >= raw) break;
  }
  std::vector<double> t;
  for (double v = std::ceil(lo / step) * step; v <= hi + 1e-9 * step; v += step) t.push_back(v);
  return t;
}

}  // namespace

TSvgPlot::TSvgPlot(std::string title, std::string xLabel, std::string yLabel)
    : fTitle(std::move(title)), fXLabel(std::move(xLabel)), fYLabel(std::move(yLabel)) {}

void TSvgPlot::Points(const std::vector<double>& x, const std::vector<double>& y, bool joined,
                      const std::string& name, double low, double high) {
  std::vector<bool> flag(y.size());
  for (std::size_t i = 0; i < y.size(); ++i) flag[i] = y[i] < low || y[i] > high;
  FlaggedPoints(x, y, flag, joined, name);
}

void TSvgPlot::FlaggedPoints(const std::vector<double>& x, const std::vector<double>& y,
                             const std::vector<bool>& flag, bool joined,
                             const std::string& name) {
  fItems.push_back({TItem::kPoints, x, y, flag, name, joined, false});
}

void TSvgPlot::HLine(double y, const std::string& label, bool dashed) {
  fItems.push_back({TItem::kHLine, {}, {y}, {}, label, false, dashed});
}

void TSvgPlot::Line(const std::vector<double>& x, const std::vector<double>& y,
                    const std::string& name, bool dashed) {
  fItems.push_back({TItem::kLine, x, y, {}, name, false, dashed});
}

void TSvgPlot::Segment(double x0, double y0, double x1, double y1, const std::string& name) {
  fItems.push_back({TItem::kSegment, {x0, x1}, {y0, y1}, {}, name, false, false});
}

bool TSvgPlot::Write(const std::string& path) const {
  auto tx = [&](double x) { return fLogX ? std::log10(x) : x; };
  // Data range of everything drawn (finite values only), padded by 5%.
  double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
  auto seeX = [&](double v) {
    v = tx(v);
    if (std::isfinite(v)) x0 = std::min(x0, v), x1 = std::max(x1, v);
  };
  auto seeY = [&](double v) {
    if (std::isfinite(v)) y0 = std::min(y0, v), y1 = std::max(y1, v);
  };
  for (const auto& it : fItems) {
    for (const double v : it.x) seeX(v);
    for (const double v : it.y) seeY(v);
  }
  if (!(x0 <= x1)) x0 = 0, x1 = 1;
  if (!(y0 <= y1)) y0 = 0, y1 = 1;
  if (x0 == x1) x0 -= 0.5, x1 += 0.5;
  if (y0 == y1) y0 -= 0.5, y1 += 0.5;
  const double px = 0.04 * (x1 - x0), py = 0.06 * (y1 - y0);
  x0 -= px, x1 += px, y0 -= py, y1 += py;
  const double plotW = kWidth - kLeft - kRight, plotH = kHeight - kTop - kBottom;
  auto X = [&](double x) { return kLeft + (tx(x) - x0) / (x1 - x0) * plotW; };
  auto Xt = [&](double t) { return kLeft + (t - x0) / (x1 - x0) * plotW; };  // transformed x
  auto Y = [&](double y) { return kTop + (y1 - y) / (y1 - y0) * plotH; };
  auto finite = [&](double x, double y) { return std::isfinite(tx(x)) && std::isfinite(y); };

  std::ostringstream s;
  s << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\""
    << kHeight << "\" viewBox=\"0 0 " << kWidth << " " << kHeight
    << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
    << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
    << "<clipPath id=\"plot\"><rect x=\"" << kLeft << "\" y=\"" << kTop << "\" width=\"" << plotW
    << "\" height=\"" << plotH << "\"/></clipPath>\n";
  // Title, frame, ticks and axis labels.
  s << "<text x=\"" << kWidth / 2 << "\" y=\"24\" text-anchor=\"middle\" font-size=\"15\">"
    << Escape(fTitle) << "</text>\n";
  s << "<rect x=\"" << kLeft << "\" y=\"" << kTop << "\" width=\"" << plotW << "\" height=\""
    << plotH << "\" fill=\"none\" stroke=\"black\"/>\n";
  std::vector<std::pair<double, std::string>> xticks;
  if (fLogX) {
    for (double e = std::floor(x0); e <= std::ceil(x1); ++e) {
      for (const double m : {1.0, 2.0, 5.0}) {
        const double t = e + std::log10(m);
        if (t >= x0 && t <= x1) xticks.emplace_back(t, Label(m * std::pow(10.0, e)));
      }
    }
  } else {
    for (const double t : Ticks(x0, x1)) xticks.emplace_back(t, Label(t));
  }
  for (const auto& [t, text] : xticks) {
    s << "<line x1=\"" << Num(Xt(t)) << "\" y1=\"" << kTop + plotH << "\" x2=\"" << Num(Xt(t))
      << "\" y2=\"" << kTop + plotH + 5 << "\" stroke=\"black\"/>"
      << "<text x=\"" << Num(Xt(t)) << "\" y=\"" << kTop + plotH + 18
      << "\" text-anchor=\"middle\">" << text << "</text>\n";
  }
  for (const double t : Ticks(y0, y1)) {
    s << "<line x1=\"" << kLeft - 5 << "\" y1=\"" << Num(Y(t)) << "\" x2=\"" << kLeft
      << "\" y2=\"" << Num(Y(t)) << "\" stroke=\"black\"/>"
      << "<text x=\"" << kLeft - 8 << "\" y=\"" << Num(Y(t) + 4) << "\" text-anchor=\"end\">"
      << Label(t) << "</text>\n";
  }
  s << "<text x=\"" << kLeft + plotW / 2 << "\" y=\"" << kHeight - 16
    << "\" text-anchor=\"middle\">" << Escape(fXLabel) << "</text>\n";
  s << "<text transform=\"translate(20," << kTop + plotH / 2
    << ") rotate(-90)\" text-anchor=\"middle\">" << Escape(fYLabel) << "</text>\n";

  // The items, clipped to the plot area; labels of lines to the right of it.
  int colour = 0;
  double legendY = kTop + 12;
  std::vector<double> labelsY;  // heights of the series labels written so far
  for (const auto& it : fItems) {
    // Data series take the colours in turn; limit lines are red or dark grey.
    const char* c = it.kind == TItem::kPoints || it.kind == TItem::kSegment
                        ? kColours[colour++ % 4]
                        : "#c0392b";
    const std::string dash = it.dashed ? " stroke-dasharray=\"6,4\"" : "";
    switch (it.kind) {
      case TItem::kHLine: {
        if (!std::isfinite(it.y[0])) break;
        const double y = Y(it.y[0]);
        s << "<line clip-path=\"url(#plot)\" x1=\"" << kLeft << "\" y1=\"" << Num(y) << "\" x2=\""
          << kLeft + plotW << "\" y2=\"" << Num(y) << "\" stroke=\""
          << (it.dashed ? "#c0392b" : "#333") << "\"" << dash << "/>\n";
        s << "<text x=\"" << kLeft + plotW + 6 << "\" y=\"" << Num(y + 4) << "\">"
          << Escape(it.name) << "</text>\n";
        break;
      }
      case TItem::kLine:
      case TItem::kSegment:
      case TItem::kPoints: {
        std::ostringstream pts;
        for (std::size_t i = 0; i < it.x.size() && i < it.y.size(); ++i) {
          if (finite(it.x[i], it.y[i])) pts << Num(X(it.x[i])) << "," << Num(Y(it.y[i])) << " ";
        }
        const bool line = it.kind != TItem::kPoints || it.joined;
        const std::string stroke = it.kind == TItem::kLine ? "#c0392b" : c;
        if (line) {
          s << "<polyline clip-path=\"url(#plot)\" fill=\"none\" stroke=\"" << stroke
            << "\" stroke-width=\"" << (it.kind == TItem::kSegment ? 1.5 : 1) << "\"" << dash
            << " points=\"" << pts.str() << "\"/>\n";
        }
        if (it.kind == TItem::kPoints) {
          for (std::size_t i = 0; i < it.x.size() && i < it.y.size(); ++i) {
            if (!finite(it.x[i], it.y[i])) continue;
            s << "<circle cx=\"" << Num(X(it.x[i])) << "\" cy=\"" << Num(Y(it.y[i]))
              << "\" r=\"3\" fill=\"" << (it.flag[i] ? "#d62728" : c) << "\"/>\n";
          }
        }
        // A limit line is labelled at the height of its last point, other series in a list.
        double labelY = legendY;
        for (std::size_t i = std::min(it.x.size(), it.y.size()); it.kind == TItem::kLine && i > 0;
             --i) {
          if (finite(it.x[i - 1], it.y[i - 1])) {
            labelY = Y(it.y[i - 1]) + 4;
            break;
          }
        }
        if (!it.name.empty()) {
          const bool inList = labelY == legendY;
          // Labels that would overprint one already written move down a line.
          while (std::any_of(labelsY.begin(), labelsY.end(),
                             [&](double used) { return std::fabs(used - labelY) < 14; })) {
            labelY += 14;
          }
          labelsY.push_back(labelY);
          s << "<text x=\"" << kLeft + plotW + 6 << "\" y=\"" << Num(labelY) << "\" fill=\""
            << stroke << "\">" << Escape(it.name) << "</text>\n";
          if (inList) legendY = labelY + 16;
        }
        break;
      }
    }
  }
  s << "</svg>\n";
  std::ofstream out(path);
  if (!out) return false;
  out << s.str();
  return static_cast<bool>(out);
}

std::vector<double> Values(const lumex::TVec& v) {
  std::vector<double> out(static_cast<std::size_t>(v.Length()));
  for (int i = 0; i < v.Length(); ++i) out[static_cast<std::size_t>(i)] = v.Value(i);
  return out;
}

std::vector<double> Index(int n) {
  std::vector<double> out(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out[static_cast<std::size_t>(i)] = i + 1;
  return out;
}

std::string SvgPath(const std::string& fileName) {
  const char* dir = std::getenv("LUMEX_DEMO_SVG_DIR");
  if (dir == nullptr || *dir == '\0') return fileName;
  std::string d(dir);
  if (d.back() != '/') d += '/';
  return d + fileName;
}

}  // namespace demo
