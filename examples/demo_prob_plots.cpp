// Demo section: probability plots. A normal plot of the Old Faithful eruption durations (two
// clusters) and of Lake Huron's level, a quantile-quantile plot of the two drugs of the sleep
// data, a Weibull plot of the warp breaks and an exponential plot of the lynx trappings, with
// the location and scale that each reference line estimates. Each plot is also written as an
// SVG file.
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"
#include "lumex/StatProbPlots.h"
#include "svg_plot.h"

namespace demo {

namespace {

using lumex::TVec;

struct TPlotted {
  TVec x, y;
  double minx = 0, maxx = 0, miny = 0, maxy = 0;
};

void Save(const TSvgPlot& plot, const std::string& file) {
  const std::string path = SvgPath(file);
  std::cout << (plot.Write(path) ? "  wrote " : "  could not write ") << path << "\n";
}

void NormalPlot(const TVec& data, const std::string& what, const std::string& unit,
                const std::string& file) {
  TPlotted p;
  TVec band;
  lumex::StatNormalPlot(data, p.x, p.y, p.minx, p.maxx, p.miny, p.maxy, &band, false);
  const double slope = (p.maxy - p.miny) / (p.maxx - p.minx);
  // The line z = (x - mu)/sigma: its slope is 1/sigma and it crosses z = 0 at mu.
  const double mu = p.minx - p.miny / slope;
  std::cout << what << ": " << data.Length() << " values; the line estimates mean "
            << Fixed(mu, 3) << " and standard deviation " << Fixed(1.0 / slope, 3) << " "
            << unit << " (sample: " << Fixed(lumex::Mean(data), 3) << ", "
            << Fixed(lumex::StdDev(data), 3) << ")\n";
  int outside = 0;
  std::vector<double> lo, hi, zline;
  // The band widens fast in the tails; beyond a margin around the data it is not drawn (NaN
  // points are skipped by the plot).
  const double margin = 0.15 * (p.maxx - p.minx);
  auto inView = [&](double x) { return x >= p.minx - margin && x <= p.maxx + margin ? x : NAN; };
  for (int i = 0; i < p.x.Length(); ++i) {
    // Band in data units about the line, drawn at each point's normal quantile.
    const double onLine = p.minx + (p.y[i] - p.miny) / slope;
    lo.push_back(inView(onLine - 2.0 * band[i]));
    hi.push_back(inView(onLine + 2.0 * band[i]));
    zline.push_back(p.y[i]);
    outside += std::fabs(p.x[i] - onLine) > 2.0 * band[i];
  }
  std::cout << "  " << outside << " points lie more than two standard errors from the line\n";
  TSvgPlot plot("Normal probability plot: " + what, what + " (" + unit + ")",
                "standard normal quantile");
  plot.Line(lo, zline, "-2 se", true);
  plot.Line(hi, zline, "+2 se", true);
  plot.Segment(p.minx, p.miny, p.maxx, p.maxy, "quartile line");
  plot.Points(Values(p.x), Values(p.y), false, "");
  Save(plot, file);
}

void ProbPlotsSection(const std::string& dataDir) {
  Heading("Normal probability plots");
  const TTable faithful = ReadCsv(dataDir + "/faithful.csv");
  NormalPlot(faithful.Numbers("eruptions"), "eruption duration", "min", "pp_normal_eruptions.svg");
  std::cout << "  Two clusters (short and long eruptions) bend the points into an S.\n";
  NormalPlot(ReadCsv(dataDir + "/lake_huron.csv").Numbers("level"), "Lake Huron level", "ft",
             "pp_normal_huron.svg");

  Heading("Quantile-quantile plot: extra sleep under drug 2 against drug 1");
  const TTable sleep = ReadCsv(dataDir + "/sleep.csv");
  const TVec extra = sleep.Numbers("extra");
  const std::vector<std::string> group = sleep.Texts("group");
  std::vector<double> d1, d2;
  for (int i = 0; i < extra.Length(); ++i) {
    (group[static_cast<std::size_t>(i)] == "1" ? d1 : d2).push_back(extra[i]);
  }
  TPlotted q;
  lumex::StatQQPlot(TVec(d1), TVec(d2), q.x, q.y, q.minx, q.maxx, q.miny, q.maxy, false, false);
  const double qslope = (q.maxy - q.miny) / (q.maxx - q.minx);
  std::cout << "quartile line: drug 2 = " << Fixed(q.miny - qslope * q.minx, 3) << " + "
            << Fixed(qslope, 3) << " * drug 1 (hours); the same law up to a shift would give\n"
            << "slope 1\n";
  {
    TSvgPlot plot("Q-Q plot: extra sleep, drug 2 against drug 1", "drug 1 quantiles (h)",
                  "drug 2 quantiles (h)");
    plot.Segment(q.minx, q.miny, q.maxx, q.maxy, "quartile line");
    plot.Points(Values(q.x), Values(q.y), false, "");
    Save(plot, "pp_qq_sleep.svg");
  }

  Heading("Weibull plot: warp breaks per loom");
  TPlotted w;
  lumex::StatWeibullPlot(ReadCsv(dataDir + "/warpbreaks.csv").Numbers("breaks"), w.x, w.y,
                         w.minx, w.maxx, w.miny, w.maxy, false);
  // ln(-ln(1 - F)) = c (ln x - ln b): the slope on the log axis is the shape c, and the line
  // reaches 0 at the scale b.
  const double shape = (w.maxy - w.miny) / (std::log(w.maxx) - std::log(w.minx));
  const double scale = std::exp(std::log(w.minx) - w.miny / shape);
  std::cout << "the line estimates shape " << Fixed(shape, 3) << " and scale " << Fixed(scale, 3)
            << " breaks\n";
  {
    TSvgPlot plot("Weibull plot: warp breaks per loom", "breaks (log scale)", "ln(-ln(1 - p))");
    plot.LogX();
    plot.Segment(w.minx, w.miny, w.maxx, w.maxy, "quartile line");
    plot.Points(Values(w.x), Values(w.y), false, "");
    Save(plot, "pp_weibull_warpbreaks.svg");
  }

  Heading("Exponential plot: annual lynx trappings 1821-1934");
  TPlotted e;
  lumex::StatExpPlot(ReadCsv(dataDir + "/lynx.csv").Numbers("lynx"), e.x, e.y, e.minx, e.maxx,
                     e.miny, e.maxy, false);
  const double eslope = (e.maxy - e.miny) / (e.maxx - e.minx);
  std::cout << "the line estimates an exponential scale of " << Fixed(1.0 / eslope, 1)
            << " pelts (sample mean " << Fixed(lumex::Mean(e.x), 1) << ")\n";
  {
    TSvgPlot plot("Exponential plot: annual lynx trappings 1821-1934", "pelts",
                  "-ln(1 - p)");
    plot.Segment(e.minx, e.miny, e.maxx, e.maxy, "quartile line");
    plot.Points(Values(e.x), Values(e.y), false, "");
    Save(plot, "pp_exp_lynx.svg");
  }
}

}  // namespace

const TSection kSection(100, "Probability plots", ProbPlotsSection);

}  // namespace demo
