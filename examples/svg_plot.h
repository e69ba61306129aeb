// A small SVG writer for the demo's charts and plots: points, horizontal lines (centre line and
// control limits), polylines (limits that vary per sample, bands), a reference segment, and
// axes with ticks, labels and a title. Files open in any browser.
#pragma once

#include <string>
#include <vector>

#include "lumex/core/containers.h"

namespace demo {

class TSvgPlot {
public:
  TSvgPlot(std::string title, std::string xLabel, std::string yLabel);

  // Draws the x axis on a logarithmic scale (x values must be positive).
  void LogX() { fLogX = true; }
  // Markers at (x[i], y[i]), optionally joined by a line. Points outside [low, high] (when those
  // are given) are drawn red: the out-of-control points of a chart.
  void Points(const std::vector<double>& x, const std::vector<double>& y, bool joined,
              const std::string& name, double low = -1e308, double high = 1e308);
  // Markers whose colour comes from `flag` (non-zero drawn red), for per-sample limits.
  void FlaggedPoints(const std::vector<double>& x, const std::vector<double>& y,
                     const std::vector<bool>& flag, bool joined, const std::string& name);
  // A horizontal line across the plot at height y, labelled at its right end.
  void HLine(double y, const std::string& label, bool dashed);
  // A polyline (no markers), solid or dashed; non-finite points are skipped.
  void Line(const std::vector<double>& x, const std::vector<double>& y, const std::string& name,
            bool dashed);
  // A straight segment from (x0, y0) to (x1, y1): the reference line of a probability plot.
  void Segment(double x0, double y0, double x1, double y1, const std::string& name);

  // Writes the file; returns false (and writes nothing) if it cannot be opened.
  bool Write(const std::string& path) const;

private:
  struct TItem {
    enum Kind { kPoints, kHLine, kLine, kSegment } kind;
    std::vector<double> x, y;
    std::vector<bool> flag;
    std::string name;
    bool joined = false;
    bool dashed = false;
  };
  std::string fTitle, fXLabel, fYLabel;
  bool fLogX = false;
  std::vector<TItem> fItems;
};

// Copies of a TVec's values, for the plot calls.
std::vector<double> Values(const lumex::TVec& v);
// 1, 2, ..., n (sample numbers).
std::vector<double> Index(int n);

// Folder of the demo's SVG files: $LUMEX_DEMO_SVG_DIR when set, else the current directory.
std::string SvgPath(const std::string& fileName);

}  // namespace demo
