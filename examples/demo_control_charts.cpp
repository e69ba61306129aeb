// Demo section: quality-control charts. Shewhart charts of the Old Faithful waiting times and of
// Lake Huron's level, attribute charts of the warp breaks, and, on simulated processes with a
// known shift, the EWMA and CUSUM charts, a p chart with varying lot sizes and the Westgard
// rules. Each chart is also written as an SVG file (see SvgPath).
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"
#include "lumex/StatControlCharts.h"
#include "svg_plot.h"

namespace demo {

namespace {

using lumex::TMtx;
using lumex::TVec;

// Subgroups of `size` consecutive values (a trailing remainder is dropped).
TMtx Subgroups(const TVec& x, int size) {
  TMtx m(x.Length() / size, size);
  for (int i = 0; i < m.Rows(); ++i) {
    for (int j = 0; j < size; ++j) m(i, j) = x[i * size + j];
  }
  return m;
}

int CountOutside(const TVec& v, double lcl, double ucl) {
  int n = 0;
  for (int i = 0; i < v.Length(); ++i) n += v[i] < lcl || v[i] > ucl;
  return n;
}

void Limits(const char* chart, double cl, double ucl, double lcl, int outside, int points) {
  std::cout << std::left << std::setw(22) << chart << std::right << "CL " << std::setw(9)
            << Fixed(cl, 3) << "  UCL " << std::setw(9) << Fixed(ucl, 3) << "  LCL "
            << std::setw(9) << Fixed(lcl, 3) << "   " << outside << " of " << points
            << " points outside\n";
}

void Save(const TSvgPlot& plot, const std::string& file) {
  const std::string path = SvgPath(file);
  std::cout << (plot.Write(path) ? "  wrote " : "  could not write ") << path << "\n";
}

// A Shewhart chart with constant limits as an SVG.
void ShewhartSvg(const std::string& file, const std::string& title, const std::string& yLabel,
                 const TVec& points, double cl, double ucl, double lcl) {
  TSvgPlot plot(title, "sample", yLabel);
  plot.HLine(ucl, "UCL " + Fixed(ucl, 2), true);
  plot.HLine(cl, "CL " + Fixed(cl, 2), false);
  plot.HLine(lcl, "LCL " + Fixed(lcl, 2), true);
  plot.Points(Index(points.Length()), Values(points), true, "", lcl, ucl);
  Save(plot, file);
}

void ControlChartsSection(const std::string& dataDir) {
  const double z3two = 2.0 * lumex::NormalCDF(3.0) - 1.0;  // two-sided: z = 3
  const double z3one = lumex::NormalCDF(3.0);              // one-sided: z = 3

  Heading("Shewhart charts: Old Faithful waiting times in subgroups of 4 eruptions");
  const TVec waiting = ReadCsv(dataDir + "/faithful.csv").Numbers("waiting");
  const TMtx groups = Subgroups(waiting, 4);
  std::cout << groups.Rows() << " subgroups of " << groups.Cols()
            << " successive waiting times (min); 3-sigma limits\n";
  TVec draw;
  double cl, ucl, lcl;
  lumex::QCXChart(groups, draw, cl, ucl, lcl, z3two);
  Limits("means (x-bar)", cl, ucl, lcl, CountOutside(draw, lcl, ucl), draw.Length());
  ShewhartSvg("qc_xbar_faithful.svg", "X-bar chart: Old Faithful waiting times, subgroups of 4",
              "mean waiting time (min)", draw, cl, ucl, lcl);
  lumex::QCSChart(groups, draw, cl, ucl, lcl, z3two);
  Limits("standard deviations", cl, ucl, lcl, CountOutside(draw, lcl, ucl), draw.Length());
  ShewhartSvg("qc_s_faithful.svg", "S chart: Old Faithful waiting times, subgroups of 4",
              "standard deviation (min)", draw, cl, ucl, lcl);
  lumex::QCRChart(groups, draw, cl, ucl, lcl, z3two);
  Limits("ranges", cl, ucl, lcl, CountOutside(draw, lcl, ucl), draw.Length());
  ShewhartSvg("qc_r_faithful.svg", "R chart: Old Faithful waiting times, subgroups of 4",
              "range (min)", draw, cl, ucl, lcl);
  std::cout << "Short and long waits alternate, so each subgroup mixes both: the means are\n"
               "stable while the spread within subgroups is large.\n";

  Heading("Individuals chart: annual level of Lake Huron 1875-1972 (ft)");
  const TVec level = ReadCsv(dataDir + "/lake_huron.csv").Numbers("level");
  lumex::QCMRChart(level, cl, ucl, lcl, z3two);
  Limits("levels (moving range)", cl, ucl, lcl, CountOutside(level, lcl, ucl), level.Length());
  ShewhartSvg("qc_individuals_huron.svg", "Individuals chart: Lake Huron level 1875-1972",
              "level (ft)", level, cl, ucl, lcl);
  std::cout << "The moving ranges see only year-to-year changes; the slow drift of the lake\n"
               "carries many years outside the limits: the level is not a stable process.\n";

  Heading("Attribute charts: warp breaks per loom (Tippett 1950)");
  const TVec breaks = ReadCsv(dataDir + "/warpbreaks.csv").Numbers("breaks");
  lumex::QCCChart(breaks, draw, cl, ucl, lcl, z3one);
  Limits("breaks per loom (c)", cl, ucl, lcl, CountOutside(draw, lcl, ucl), draw.Length());
  ShewhartSvg("qc_c_warpbreaks.svg", "C chart: warp breaks per loom", "breaks", draw, cl, ucl,
              lcl);
  // Breaks per loom over the 6 wool-tension cells of 9 looms: defects per unit.
  TVec cellBreaks(6);
  for (int i = 0; i < breaks.Length(); ++i) cellBreaks[i / 9] += breaks[i];
  lumex::QCUChart(cellBreaks, 9, draw, cl, ucl, lcl, z3one);
  Limits("per loom by cell (u)", cl, ucl, lcl, CountOutside(draw, lcl, ucl), draw.Length());
  std::cout << "The counts vary far more than a Poisson count would: tension and wool matter.\n";

  // Simulated processes with a known change, reproducible from their seed.
  lumex::TRandomGenerator rng;
  rng.Init(lumex::brgXoshiro256, 20261205);
  lumex::TRngStream& s = rng.GetStream(0);

  Heading("p chart with varying lot sizes (simulated: 8% defective, 14% from lot 21)");
  TVec defectives(30), lotSize(30);
  lumex::TVecInt one(1);
  for (int i = 0; i < 30; ++i) {
    const int m = 60 + (i * 37) % 90;
    s.RandomBinomial(one, m, i < 20 ? 0.08 : 0.14);
    lotSize[i] = m;
    defectives[i] = one[0];
  }
  TVec pucl, plcl;
  lumex::QCPChart(defectives, lotSize, draw, cl, pucl, plcl, z3one);
  std::vector<bool> out(30);
  int nOut = 0;
  for (int i = 0; i < 30; ++i) {
    out[static_cast<std::size_t>(i)] = draw[i] > pucl[i] || draw[i] < plcl[i];
    nOut += out[static_cast<std::size_t>(i)];
  }
  std::cout << "pooled proportion " << Fixed(cl, 4) << "; " << nOut
            << " of 30 lots outside their own limits\n";
  {
    TSvgPlot plot("p chart: simulated lots of 60 to 149 items", "lot", "proportion defective");
    plot.Line(Index(30), Values(pucl), "UCL", true);
    plot.Line(Index(30), Values(plcl), "LCL", true);
    plot.HLine(cl, "CL " + Fixed(cl, 3), false);
    plot.FlaggedPoints(Index(30), Values(draw), out, true, "");
    Save(plot, "qc_p_lots.svg");
  }

  Heading("EWMA and CUSUM (simulated: subgroups of 5, mean shifts by 1 sigma at subgroup 31)");
  TMtx shifted(40, 5);
  TVec row(5);
  for (int i = 0; i < 40; ++i) {
    s.RandomGaussian(row, i < 30 ? 10.0 : 10.0 + 1.0, 1.0);
    for (int j = 0; j < 5; ++j) shifted(i, j) = row[j];
  }
  lumex::QCXChart(shifted, draw, cl, ucl, lcl, z3two);
  Limits("x-bar", cl, ucl, lcl, CountOutside(draw, lcl, ucl), draw.Length());
  TVec ewma, eucl, elcl;
  lumex::EWMAChart(shifted, ewma, cl, eucl, elcl, 0.2, z3one);
  // The centre line is the grand mean of all subgroups, the shifted ones included.
  std::vector<bool> flag;
  std::cout << "EWMA (lambda 0.2) beyond its limits at subgroups";
  for (int i = 0; i < ewma.Length(); ++i) {
    flag.push_back(ewma[i] > eucl[i] || ewma[i] < elcl[i]);
    if (flag.back()) std::cout << " " << i + 1;
  }
  std::cout << "\n";
  {
    TSvgPlot plot("EWMA chart (lambda 0.2): simulated 1-sigma shift at subgroup 31", "subgroup",
                  "EWMA of subgroup means");
    plot.Line(Index(40), Values(eucl), "UCL", true);
    plot.Line(Index(40), Values(elcl), "LCL", true);
    plot.HLine(cl, "CL " + Fixed(cl, 2), false);
    plot.FlaggedPoints(Index(40), Values(ewma), flag, true, "");
    Save(plot, "qc_ewma_shift.svg");
  }
  // CUSUM against the in-control target 10 with sigma/sqrt(n): reference value K = half the
  // shift to detect, decision interval H = 5 standard errors of a mean.
  const double se = 1.0 / std::sqrt(5.0);
  TVec cusum, cplus, cminus;
  lumex::QCCumSumChart(shifted, cusum, 0.5 * se, 5.0 * se, 10.0, se, &cplus, &cminus, 0.99);
  int firstCusum = -1;
  for (int i = 0; i < cplus.Length() && firstCusum < 0; ++i) {
    if (cplus[i] > 5.0 * se || cminus[i] > 5.0 * se) firstCusum = i + 1;
  }
  std::cout << "tabular CUSUM (K = 0.5 se, H = 5 se): first signal at subgroup " << firstCusum
            << "\n";
  {
    TSvgPlot plot("Tabular CUSUM: simulated 1-sigma shift at subgroup 31", "subgroup",
                  "cumulative sum (data units)");
    plot.HLine(5.0 * se, "H " + Fixed(5.0 * se, 2), true);
    plot.Points(Index(40), Values(cplus), true, "C+", -1e308, 5.0 * se);
    plot.Points(Index(40), Values(cminus), true, "C-", -1e308, 5.0 * se);
    Save(plot, "qc_cusum_shift.svg");
  }

  Heading("Westgard rules (simulated control material: mean 100, sd 2, drift from run 16)");
  TVec qc(30), one1(1);
  for (int i = 0; i < 30; ++i) {
    s.RandomGaussian(one1, 100.0 + (i < 15 ? 0.0 : 0.35 * (i - 14)), 2.0);
    qc[i] = one1[0];
  }
  TVec codes;
  lumex::QCWestgardRules(qc, codes, 100.0, 2.0);
  const char* rules[] = {"1-3s", "1-2s", "2-2s", "2 beyond 2s", "4-1s", "10-mean"};
  std::vector<bool> flagged;
  for (int i = 0; i < 30; ++i) {
    const int c = static_cast<int>(codes[i]);
    flagged.push_back(c != 0);
    if (c == 0) continue;
    std::cout << "run " << std::setw(2) << i + 1 << "  " << Fixed(qc[i], 2) << "  code "
              << std::setw(2) << c << ":";
    for (int b = 0; b < 6; ++b) {
      if (c & (1 << b)) std::cout << " " << rules[b];
    }
    std::cout << "\n";
  }
  {
    TSvgPlot plot("Levey-Jennings chart with Westgard rules (red: a rule violated)", "run",
                  "measurement");
    for (int k = 3; k >= -3; --k) {
      plot.HLine(100.0 + 2.0 * k, k == 0 ? "mean" : (k > 0 ? "+" : "") + std::to_string(k) + "s",
                 k != 0);
    }
    plot.FlaggedPoints(Index(30), Values(qc), flagged, true, "");
    Save(plot, "qc_westgard.svg");
  }

  Heading("Capability: the simulated process of the EWMA example before its shift");
  TVec before(150);
  for (int i = 0; i < 150; ++i) before[i] = shifted(i / 5, i % 5);
  double outOfSpec, cp, cpk;
  lumex::TTwoElmReal cpci{}, cpkci{};
  lumex::QCCapIndexes(before, 6.5, 14.0, outOfSpec, cp, cpk, cpci, cpkci, 0.05);
  std::cout << "tolerance limits [6.5, 14]: Cp " << Fixed(cp, 3) << " (95% CI " << Fixed(cpci[0], 3)
            << " to " << Fixed(cpci[1], 3) << "), Cpk " << Fixed(cpk, 3) << " ("
            << Fixed(cpkci[0], 3) << " to " << Fixed(cpkci[1], 3)
            << "),\nexpected fraction outside the limits " << std::scientific
            << std::setprecision(2) << outOfSpec << std::defaultfloat << "\n";
}

}  // namespace

const TSection kSection(110, "Control charts", ControlChartsSection);

}  // namespace demo
