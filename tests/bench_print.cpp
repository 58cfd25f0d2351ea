// For scripts/bench.sh, not a test. `bench_print RUNS` times the
// description window's own Print handler printing the whole text into a PDF
// file (the print dialog swapped for a PDF job through the framework's
// seam), RUNS times, and prints the median and the 90th percentile.
// `bench_print --session` opens the calculator and the description window,
// prints once through the real print dialog (accepted as it comes up, so
// the job goes to the file the dialog offers when there is no printer), and
// prints the process's resident and peak memory.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/TestSeams.h"
#include "info/DescriptionWnd.h"

namespace {

int TimePrinting(int runs) {
  QTemporaryDir dir;
  const std::string pdf = dir.filePath("description.pdf").toStdString();
  fw::test::SetPrintDialog([&pdf] { return fw::test::PdfPrintJob(pdf); });
  auto description = DescriptionWnd();
  description->Show();
  description->_Print_Action();  // unmeasured: the fonts' first use
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer clock;
    clock.start();
    description->_Print_Action();  // the PDF is written when the handler returns
    ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  // The 90th percentile by nearest rank: the value that 90 % of the runs do not exceed.
  const auto p90 = static_cast<std::size_t>(std::ceil(0.9 * static_cast<double>(runs))) - 1;
  std::printf("description printed to PDF: median %.1f ms, p90 %.1f ms (%d runs; goal <= 150)\n", ms[ms.size() / 2],
              ms[p90], runs);
  std::fflush(stdout);
  // The windows go before the QApplication does.
  description.Reset();
  fw::test::ResetRuntime();
  return 0;
}

// A line of /proc/self/status such as VmRSS, in kB; -1 when missing.
long StatusKb(const char* key) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  const QByteArray prefix = QByteArray(key) + ':';
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith(prefix)) return line.mid(prefix.size()).trimmed().split(' ').front().toLong();
  }
  return -1;
}

int Session() {
  auto calculator = ControlWnd();
  calculator->Show();
  auto description = DescriptionWnd();
  description->Show();
  QApplication::processEvents();
  // Where the accepted dialog sends the job; empty until a dialog came up.
  QString output;
  QTimer accept;
  QObject::connect(&accept, &QTimer::timeout, [&output] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      dialog->accept();
      output = dialog->printer()->outputFileName();
      if (output.isEmpty()) output = QStringLiteral("(a printer, not a file)");
    }
  });
  accept.start(10);
  std::string failure;
  try {
    description->_Print_Action();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  accept.stop();
  QApplication::processEvents();
  const long rss = StatusKb("VmRSS"), peak = StatusKb("VmHWM");
  int status = 0;
  if (output.isEmpty() || !failure.empty() || !QFileInfo(output).isFile() || QFileInfo(output).size() == 0) {
    if (output.isEmpty()) failure = "no print dialog came up";
    if (failure.empty()) failure = "the print went to " + output.toStdString() + ", which is no PDF file";
    std::fprintf(stderr, "full session: %s\n", failure.c_str());
    status = 1;
  } else {
    std::printf("full session (calculator, description window, one print): resident %.1f MB, peak %.1f MB\n",
                static_cast<double>(rss) / 1024, static_cast<double>(peak) / 1024);
    std::fflush(stdout);
  }
  description.Reset();
  calculator.Reset();
  fw::test::ResetRuntime();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--session") == 0) return Session();
  return TimePrinting(argc > 1 ? std::max(1, std::atoi(argv[1])) : 9);
}
