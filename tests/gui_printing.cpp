// Printing a styled text area through the framework: into a PDF file
// through the print-dialog seam, read back with poppler's tools. Whole
// prints are the description window's own Print handler, on the
// description's area with the test's text in it.
#include <cups/cups.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Printing.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/Window.h"
#include "info/DescriptionWnd.h"
#include "info/DescriptionWndLayout.h"
#include "tests/support/GuiTest.h"
#include "tests/support/PrintWatch.h"
#include "tests/support/TestWindows.h"

namespace {

using I = std::int64_t;

QString RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

// One text line as pdftotext found it, with its box in points.
struct PdfLine {
  QString text;
  double top, bottom;
};

// The lines of each page, in reading order.
std::vector<std::vector<PdfLine>> PdfPages(const QString& path) {
  const QString html = RunTool("pdftotext", {"-bbox-layout", path, "-"});
  std::vector<std::vector<PdfLine>> pages;
  static const QRegularExpression tag(
      R"re(<page |<line xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">|<word [^>]*>([^<]*)</word>|</line>)re");
  PdfLine line{};
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    const QString all = m.captured(0);
    if (all.startsWith("<page")) {
      pages.emplace_back();
    } else if (all.startsWith("<line")) {
      line = {QString(), m.captured(1).toDouble(), m.captured(2).toDouble()};
    } else if (all.startsWith("<word")) {
      QString word = m.captured(3);
      word.replace("&lt;", "<")
          .replace("&gt;", ">")
          .replace("&quot;", "\"")
          .replace("&apos;", "'")
          .replace("&amp;", "&");
      line.text += (line.text.isEmpty() ? "" : " ") + word;
    } else if (!pages.empty()) {
      pages.back().push_back(line);
    }
  }
  return pages;
}

int PdfPageCount(const QString& path) {
  static const QRegularExpression pages(R"(^Pages:\s+(\d+)$)", QRegularExpression::MultilineOption);
  return pages.match(RunTool("pdfinfo", {path})).captured(1).toInt();
}

// The top margin of the printable area of a default PDF job, in points.
double PrintableTop() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  return printer.pageLayout().paintRectPoints().top();
}

// Sets the area's lines; with `boldHeading`, the first line is bold.
void SetText(const fw::Ref<fw::TextArea>& area, const QStringList& lines, bool boldHeading = false) {
  area->Value(lines.join('\n').toStdString());
  if (boldHeading) {
    area->SelectionStart(0);
    area->SelectionLength(lines.front().size());
    area->SelectionBold(true);
  }
}

// Each test prints into out.pdf of its own folder, through the dialog seam.
class PrintingTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
    fw::test::SetPrintDialog([this] { return fw::test::PdfPrintJob(Pdf().toStdString()); });
  }
  void TearDown() override {
    fw::test::SetPrintDialog(nullptr);
    fw::test::SetStyledTextPrinterFactory(nullptr);
    DropWindows();
    GuiTest::TearDown();
  }

  // Lets go of the test's windows, so that a closed one can go.
  void DropWindows() {
    description_.Reset();
    page_.Reset();
  }

  // A window of one print-page area, for the printer on its own.
  fw::Ref<fw::TextArea> PageArea() {
    if (!page_)
      page_ = testsupport::MakeOneAreaWnd(testsupport::PrintPageWindowList(), testsupport::PrintPageAreaList());
    return page_->Area();
  }

  // The description window, shown, and its printed area.
  fw::Ref<class DescriptionWnd> Description() {
    if (!description_) {
      description_ = DescriptionWnd();
      description_->Show();
    }
    return description_;
  }
  fw::Ref<fw::TextArea> DescriptionArea() { return Description()->DescribeFld2(); }

  // Print chosen in the description window: the handler prints its area
  // into the PDF, the job written as the handler returns. Returns the
  // blocks drawn; with `height`, each block is that high in place of the
  // handler's own. `afterBlock` runs after each block.
  int Print(std::optional<I> height = {}, std::function<void(int block)> afterBlock = {}) {
    testsupport::PrintWatch watch(DescriptionArea(), height, std::move(afterBlock));
    fw::RuntimeChooseMenuItem(Description()->Print(), Description());
    EXPECT_TRUE(watch.Started());
    askedHeight_ = watch.AskedHeight();
    return watch.Blocks();
  }
  // The block height the handler asked for in the last Print.
  I AskedHeight() const { return askedHeight_; }

  QString Pdf() const { return dir_.filePath("out.pdf"); }

  // Every page's lines in order make up `expected`; each page's lines lie
  // within `height` of the printable area's top.
  void ExpectWholeLines(const QStringList& expected, double height) {
    const auto pages = PdfPages(Pdf());
    QStringList seen;
    const double top = PrintableTop();
    for (std::size_t p = 0; p < pages.size(); ++p) {
      SCOPED_TRACE("page " + std::to_string(p + 1));
      EXPECT_FALSE(pages[p].empty());
      for (const auto& line : pages[p]) {
        seen << line.text;
        EXPECT_GE(line.top, top - 1) << line.text.toStdString();
        EXPECT_LE(line.bottom, top + std::max(height, 20.0)) << line.text.toStdString();
      }
    }
    EXPECT_EQ(seen.join('\n').toStdString(), expected.join('\n').toStdString());
  }

  QTemporaryDir dir_;

 private:
  fw::Ref<class DescriptionWnd> description_;
  fw::Ref<testsupport::OneAreaWnd> page_;
  I askedHeight_ = 0;
};

QStringList Numbered(int n) {
  QStringList lines;
  for (int i = 1; i <= n; ++i) lines << QString("Line %1 of the text").arg(i);
  return lines;
}

TEST_F(PrintingTest, OneBlockPrintsEveryLineOnceInOrderWithABoldHeading) {
  const QStringList lines = {"Quorvel", "The body mass index is the weight divided by the height squared.",
                             "A second paragraph of plain text.", "", "The last line."};
  SetText(DescriptionArea(), lines, true);
  EXPECT_EQ(Print(), 1);
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
  QStringList printed = lines;
  printed.removeAll(QString());  // a blank line has no words
  ExpectWholeLines(printed, static_cast<double>(AskedHeight()));

  // Real text in the field's serif font: a bold face for the heading, a
  // regular one for the rest.
  const QString fonts = RunTool("pdffonts", {Pdf()});
  EXPECT_TRUE(fonts.contains(QRegularExpression(R"(Serif-Bold\b)"))) << fonts.toStdString();
  EXPECT_TRUE(fonts.contains(QRegularExpression(R"(Serif\s)"))) << fonts.toStdString();
}

TEST_F(PrintingTest, BlocksSplitAtWholeLinesAndEachTakesAPage) {
  // Wrapped lines count as lines: the long paragraph breaks at the
  // handler's width.
  QStringList lines = Numbered(40);
  lines.insert(20, QString("word ").repeated(60).trimmed());
  SetText(DescriptionArea(), lines);
  const struct {
    std::optional<I> height;  // none: the handler's own
    int minBlocks;
  } cases[] = {{std::nullopt, 1}, {100, 6}, {1, 42}};
  for (const auto& c : cases) {
    SCOPED_TRACE("block height " + (c.height ? std::to_string(*c.height) : std::string("of the handler")));
    const int blocks = Print(c.height);
    EXPECT_GE(blocks, c.minBlocks);
    EXPECT_EQ(PdfPageCount(Pdf()), blocks);
    const auto pages = PdfPages(Pdf());
    QStringList words;
    for (const auto& page : pages) {
      for (const auto& line : page) words << line.text;
    }
    // Nothing lost or doubled, and no page holds more than its block.
    EXPECT_EQ(words.join(' ').toStdString(), lines.join(' ').toStdString());
    const I height = c.height.value_or(AskedHeight());
    if (height == 1) {
      for (const auto& page : pages) EXPECT_EQ(page.size(), 1u);  // at least, and so exactly, one line
    } else {
      const double top = PrintableTop();
      for (const auto& page : pages) {
        for (const auto& line : page) EXPECT_LE(line.bottom, top + static_cast<double>(height) + 0.5);
      }
    }
  }
}

TEST_F(PrintingTest, AnEmptyTextIsAtItsEndAtOnce) {
  SetText(PageArea(), {});
  auto graphics = fw::test::PdfPrintJob(Pdf().toStdString());
  auto printer = PageArea()->styledTextPrinter(graphics, 540);
  EXPECT_TRUE(printer->EOF());
  printer->DrawBlock(0, 0, 720);  // draws nothing
  EXPECT_TRUE(printer->EOF());
}

TEST_F(PrintingTest, TheCopyIsTakenWhenThePrinterIsMade) {
  SetText(PageArea(), Numbered(3));
  auto graphics = fw::OpenPrinterDialog({}, {});
  auto printer = PageArea()->styledTextPrinter(graphics, 540);
  SetText(PageArea(), {"changed"});
  printer->DrawBlock(0, 0, 720);
  EXPECT_TRUE(printer->EOF());
  printer.Reset();
  graphics.Reset();
  ExpectWholeLines(Numbered(3), 720);
}

TEST_F(PrintingTest, SeamsStandForTheDialogAndThePrinter) {
  // A cancelled dialog gives none.
  int shown = 0;
  fw::test::SetPrintDialog([&shown]() -> fw::Ref<fw::Graphics> {
    ++shown;
    return nullptr;
  });
  EXPECT_FALSE(fw::OpenPrinterDialog({}, {}));
  EXPECT_EQ(shown, 1);

  // The factory is asked with the graphics and width the caller gave.
  auto graphics = fw::test::PdfPrintJob(Pdf().toStdString());
  fw::Ref<fw::Graphics> asked;
  I askedWidth = 0;
  struct NoText : fw::StyledTextPrinter {
    bool EOF() override { return true; }
    void DrawBlock(I, I, I) override {}
  };
  auto given = fw::New<NoText>();
  fw::test::SetStyledTextPrinterFactory([&](const fw::Ref<fw::Graphics>& g, I width) -> fw::Ref<fw::StyledTextPrinter> {
    asked = g;
    askedWidth = width;
    return given;
  });
  EXPECT_EQ(PageArea()->styledTextPrinter(graphics, 540), given);
  EXPECT_EQ(asked, graphics);
  EXPECT_EQ(askedWidth, 540);

  // Without the factory, the printer needs a job's graphics.
  fw::test::SetStyledTextPrinterFactory(nullptr);
  EXPECT_THROW(PageArea()->styledTextPrinter(nullptr, 540), fw::NilObjectException);
  struct NotAJob : fw::Graphics {
    void NextPage() override {}
  };
  EXPECT_THROW(PageArea()->styledTextPrinter(fw::New<NotAJob>(), 540), fw::RuntimeException);
}

TEST_F(PrintingTest, TheBackgroundTaskRunsPendingEventsOnce) {
  const int before = fw::test::BackgroundTaskCount();
  bool ran = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&ran] { ran = true; }, Qt::QueuedConnection);
  fw::RuntimeBackgroundTask();
  EXPECT_TRUE(ran);
  EXPECT_EQ(fw::test::BackgroundTaskCount(), before + 1);
}

TEST_F(PrintingTest, AWindowClosedDuringAYieldLeavesTheJobWhole) {
  const QStringList lines = Numbered(30);
  SetText(DescriptionArea(), lines, true);
  QPointer<QMainWindow> widget = fw::test::WidgetOf(fw::Ref<fw::Window>(Description()));
  const int before = fw::test::BackgroundTaskCount();
  // The window system asks the window to close; the request arrives in the
  // yield after the first block.
  const int blocks = Print(100, [&](int block) {
    if (block == 1) {
      ASSERT_TRUE(widget->windowHandle());
      QMetaObject::invokeMethod(
          widget, [widget] { widget->windowHandle()->close(); }, Qt::QueuedConnection);
    }
  });
  EXPECT_GE(blocks, 3);
  EXPECT_EQ(fw::test::BackgroundTaskCount(), before + blocks);
  EXPECT_FALSE(fw::RuntimeGetImplicitWindow(DescriptionWnd::kClassName));
  DropWindows();
  fw::test::FlushDeletes();
  EXPECT_TRUE(widget.isNull());
  EXPECT_EQ(PdfPageCount(Pdf()), blocks);
  ExpectWholeLines(lines, 100);
}

// The description's own text as it opens: the whole text once, in order,
// with its two division signs and its greater-or-equal sign as text, the
// heading in a bold face, a page a block.
TEST_F(PrintingTest, TheDescriptionPrintsItsWholeTextWithABoldHeadingAPageABlock) {
  const int blocks = Print();
  ASSERT_TRUE(QFile::exists(Pdf()));

  QString printed;
  for (const auto& page : PdfPages(Pdf())) {
    for (const auto& line : page) printed += line.text + ' ';
  }
  QString expected = QString::fromStdString(DescriptionWndLayout::DescriptionText());
  expected.replace("\r\n", " ");
  EXPECT_EQ(printed.simplified().toStdString(), expected.simplified().toStdString());
  EXPECT_EQ(PdfPages(Pdf()).front().front().text.toStdString(), "Quorvel");
  const QString fonts = RunTool("pdffonts", {Pdf()});
  EXPECT_TRUE(fonts.contains(QRegularExpression(R"(Serif-Bold\b)"))) << fonts.toStdString();
  EXPECT_GE(blocks, 1);
  EXPECT_EQ(PdfPageCount(Pdf()), blocks);
}

// A job that cannot start is told once, in the user's words with the
// system's reason, and the handler ends as when the dialog is cancelled:
// nothing raised, nothing written, the window as it was.
TEST_F(PrintingTest, AJobThatCannotStartIsToldOnceAndRaisesNothing) {
  auto description = Description();
  const QString path = dir_.filePath("no-such-folder/out.pdf");
  fw::test::SetPrintDialog([path] { return fw::test::PdfPrintJob(path.toStdString()); });
  fw::RuntimeChooseMenuItem(description->Print(), description);
  EXPECT_FALSE(fw::RuntimeHasPendingException());
  ASSERT_EQ(Boxes().size(), 1u);
  const std::string& box = Boxes()[0];
  EXPECT_TRUE(box.starts_with("The document was not saved as " + path.toStdString() + ": ")) << box;
  EXPECT_GT(box.size(), ("The document was not saved as " + path.toStdString() + ": .").size());
  EXPECT_FALSE(QFileInfo::exists(path));
  EXPECT_TRUE(fw::test::WidgetOf(fw::Ref<fw::Window>(description))->isVisible());
}

// The print service check before the dialog keeps the user's input out,
// but a message box that comes up during it (as an earlier job's failure,
// told by a timer, does) takes its keys as always.
TEST_F(PrintingTest, AMessageBoxThatComesUpDuringTheServiceCheckTakesKeys) {
  // A print service that takes the connection and never answers: the
  // check waits for it, then tells that it does not answer.
  const std::string path = dir_.filePath("silent.sock").toStdString();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, path.c_str());
  const int service = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(service, 0);
  ASSERT_EQ(bind(service, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(service, 4), 0);
  // The check asks the service this thread's print settings name (Qt's
  // print support may have read them already: CUPS_SERVER would come late).
  cupsSetServer(path.c_str());
  fw::test::SetPrintDialog(nullptr);
  // Should the dialog come up all the same, the test fails; it does not hang.
  QTimer guard;
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      ADD_FAILURE() << "the print dialog came up";
      dialog->reject();
    }
  });
  guard.start(100);

  bool boxUp = false, keyTaken = false;
  QTimer::singleShot(200, [&] {
    QMessageBox box(QMessageBox::NoIcon, "Quorvel", "An earlier job failed.", QMessageBox::Ok);
    QObject::connect(&box, &QMessageBox::buttonClicked, [&] { keyTaken = true; });
    QTimer::singleShot(200, &box, [&box] { QTest::keyClick(&box, Qt::Key_Return); });
    QTimer::singleShot(10000, &box, [&box] { box.done(-1); });  // a lost key fails the test, it does not hang
    boxUp = true;
    box.exec();
  });
  fw::RuntimeChooseMenuItem(Description()->Print(), Description());
  cupsSetServer(nullptr);
  close(service);

  EXPECT_TRUE(boxUp);
  EXPECT_TRUE(keyTaken);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Nothing can be printed now: the print service does not answer."});
}

}  // namespace
