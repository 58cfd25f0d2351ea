// Printing a styled text area through the framework: into a PDF file
// through the print-dialog seam, read back with poppler's tools. The
// print loop here is the one the program runs: a block at (0, 0), a new
// page only between blocks, one background-task yield a pass.
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QWindow>
#include <functional>
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

namespace {

using I = std::int64_t;

// A window with one multi-line, read-only text area in "Times" 12.
class PrintWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "PrintWnd.PrintWnd";
  void Layout() override {
    fw::RuntimeMassPropertySetter(*this, {{"Width", I{427}}, {"Height", I{491}}, {"MenuBarVisible", false}});
  }
  void CreateControls() override {
    auto area = __New<fw::TextArea>();
    area->Constructor();
    _AddControl("Body", area);
    fw::RuntimeMassPropertySetter(area, {{"Left", I{10}},
                                         {"Top", I{10}},
                                         {"Width", I{400}},
                                         {"Height", I{470}},
                                         {"Multiline", true},
                                         {"ReadOnly", true},
                                         {"FontName", fw::String("Times")},
                                         {"FontSize", 12.0f}});
  }
  fw::Ref<fw::TextArea> Body() { return fw::Cast<fw::TextArea>(_ControlByName("Body")); }
  std::string ClassName() const override { return kClassName; }
};

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

class PrintingTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
    window_ = fw::RuntimeImplicitWindow<PrintWnd>();
  }
  void TearDown() override {
    fw::test::SetPrintDialog(nullptr);
    fw::test::SetStyledTextPrinterFactory(nullptr);
    window_.Reset();
    GuiTest::TearDown();
  }

  QTextEdit* Editor() { return qobject_cast<QTextEdit*>(fw::test::WidgetOf(window_->Body())); }

  // Sets the area's lines and makes the first `boldLines` of them bold.
  void SetText(const QStringList& lines, int boldLines = 0) {
    window_->Body()->Value(lines.join('\n').toStdString());
    QTextCursor cursor(Editor()->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, boldLines);
    if (boldLines > 0) {
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      QTextCharFormat bold;
      bold.setFontWeight(QFont::Bold);
      cursor.mergeCharFormat(bold);
    }
  }

  // The print loop, into a PDF through the dialog seam; returns the number
  // of blocks drawn. The job is written when the last reference goes here.
  int Print(I height, const std::function<void(int block)>& afterBlock = {}) {
    fw::test::SetPrintDialog([this] { return fw::test::PdfPrintJob(Pdf().toStdString()); });
    auto area = window_->Body();
    auto graphics = fw::OpenPrinterDialog({}, window_);
    EXPECT_TRUE(graphics);
    if (!graphics) return 0;
    auto printer = area->styledTextPrinter(graphics, 540);
    area.Reset();
    int blocks = 0;
    while (!printer->EOF()) {
      printer->DrawBlock(0, 0, height);
      ++blocks;
      if (afterBlock) afterBlock(blocks);
      if (!printer->EOF()) graphics->NextPage();
      fw::RuntimeBackgroundTask();
    }
    return blocks;
  }

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
  fw::Ref<PrintWnd> window_;
};

QStringList Numbered(int n) {
  QStringList lines;
  for (int i = 1; i <= n; ++i) lines << QString("Line %1 of the text").arg(i);
  return lines;
}

TEST_F(PrintingTest, OneBlockPrintsEveryLineOnceInOrderWithABoldHeading) {
  const QStringList lines = {"Quorvel", "The body mass index is the weight divided by the height squared.",
                             "A second paragraph of plain text.", "", "The last line."};
  SetText(lines, 1);
  EXPECT_EQ(Print(720), 1);
  EXPECT_EQ(PdfPageCount(Pdf()), 1);
  QStringList printed = lines;
  printed.removeAll(QString());  // a blank line has no words
  ExpectWholeLines(printed, 720);

  // Real text in the field's serif font: a bold face for the heading, a
  // regular one for the rest.
  const QString fonts = RunTool("pdffonts", {Pdf()});
  EXPECT_TRUE(fonts.contains(QRegularExpression(R"(Serif-Bold\b)"))) << fonts.toStdString();
  EXPECT_TRUE(fonts.contains(QRegularExpression(R"(Serif\s)"))) << fonts.toStdString();
}

TEST_F(PrintingTest, BlocksSplitAtWholeLinesAndEachTakesAPage) {
  // Wrapped lines count as lines: the long paragraph breaks at 540 units.
  QStringList lines = Numbered(40);
  lines.insert(20, QString("word ").repeated(60).trimmed());
  SetText(lines);
  const struct {
    I height;
    int minBlocks;
  } cases[] = {{720, 1}, {100, 6}, {1, 42}};
  for (const auto& c : cases) {
    SCOPED_TRACE("block height " + std::to_string(c.height));
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
    if (c.height == 1) {
      for (const auto& page : pages) EXPECT_EQ(page.size(), 1u);  // at least, and so exactly, one line
    } else {
      const double top = PrintableTop();
      for (const auto& page : pages) {
        for (const auto& line : page) EXPECT_LE(line.bottom, top + static_cast<double>(c.height) + 0.5);
      }
    }
  }
}

TEST_F(PrintingTest, AnEmptyTextIsAtItsEndAtOnce) {
  SetText({});
  auto graphics = fw::test::PdfPrintJob(Pdf().toStdString());
  auto printer = window_->Body()->styledTextPrinter(graphics, 540);
  EXPECT_TRUE(printer->EOF());
  printer->DrawBlock(0, 0, 720);  // draws nothing
  EXPECT_TRUE(printer->EOF());
}

TEST_F(PrintingTest, TheCopyIsTakenWhenThePrinterIsMade) {
  SetText(Numbered(3));
  fw::test::SetPrintDialog([this] { return fw::test::PdfPrintJob(Pdf().toStdString()); });
  auto graphics = fw::OpenPrinterDialog({}, window_);
  auto printer = window_->Body()->styledTextPrinter(graphics, 540);
  SetText({"changed"});
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
  EXPECT_FALSE(fw::OpenPrinterDialog({}, window_));
  EXPECT_EQ(shown, 1);

  // The factory is asked with the graphics and width the caller gave.
  auto graphics = fw::test::PdfPrintJob(Pdf().toStdString());
  auto substitute = fw::test::PdfPrintJob(dir_.filePath("other.pdf").toStdString());
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
  EXPECT_EQ(window_->Body()->styledTextPrinter(graphics, 540), given);
  EXPECT_EQ(asked, graphics);
  EXPECT_EQ(askedWidth, 540);

  // Without the factory, the printer needs a job's graphics.
  fw::test::SetStyledTextPrinterFactory(nullptr);
  EXPECT_THROW(window_->Body()->styledTextPrinter(nullptr, 540), fw::NilObjectException);
  struct NotAJob : fw::Graphics {
    void NextPage() override {}
  };
  EXPECT_THROW(window_->Body()->styledTextPrinter(fw::New<NotAJob>(), 540), fw::RuntimeException);
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
  SetText(lines, 1);
  window_->Show();
  QPointer<QMainWindow> widget = fw::test::WidgetOf(fw::Ref<fw::Window>(window_));
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
  window_.Reset();
  EXPECT_GE(blocks, 3);
  EXPECT_EQ(fw::test::BackgroundTaskCount(), before + blocks);
  EXPECT_FALSE(fw::RuntimeGetImplicitWindow(PrintWnd::kClassName));
  fw::test::FlushDeletes();
  EXPECT_TRUE(widget.isNull());
  EXPECT_EQ(PdfPageCount(Pdf()), blocks);
  ExpectWholeLines(lines, 100);
}

}  // namespace

namespace {
// Counts the blocks that the real printer draws.
class CountingPrinter : public fw::StyledTextPrinter {
 public:
  CountingPrinter(fw::Ref<fw::StyledTextPrinter> real, int& blocks) : real_(std::move(real)), blocks_(blocks) {}
  bool EOF() override { return real_->EOF(); }
  void DrawBlock(I x, I y, I height) override {
    ++blocks_;
    real_->DrawBlock(x, y, height);
  }

 private:
  fw::Ref<fw::StyledTextPrinter> real_;
  int& blocks_;
};
}  // namespace

// The description window's own Print, chosen from its menu bar, into a PDF:
// the whole text once, in order, with its two division signs and its
// greater-or-equal sign as text, the heading in a bold face, a page a block.
TEST_F(PrintingTest, TheDescriptionPrintsItsWholeTextWithABoldHeadingAPageABlock) {
  auto description = DescriptionWnd();
  description->Show();
  fw::test::SetPrintDialog([this] { return fw::test::PdfPrintJob(Pdf().toStdString()); });
  int blocks = 0;
  fw::test::SetStyledTextPrinterFactory([&blocks, description](const fw::Ref<fw::Graphics>& graphics, I width) {
    // The real printer, counted. Taken out of the closure first: clearing
    // the seam destroys it.
    int& count = blocks;
    auto area = description->DescribeFld2();
    fw::test::SetStyledTextPrinterFactory(nullptr);
    return fw::Ref<fw::StyledTextPrinter>(fw::New<CountingPrinter>(area->styledTextPrinter(graphics, width), count));
  });
  fw::RuntimeChooseMenuItem(description->Print(), description);
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
  auto description = DescriptionWnd();
  description->Show();
  const QString path = dir_.filePath("no-such-folder/out.pdf");
  fw::test::SetPrintDialog([path] { return fw::test::PdfPrintJob(path.toStdString()); });
  std::vector<std::string> messages;
  fw::test::SetMessageBoxObserver([&messages](const std::string& text) { messages.push_back(text); });
  fw::RuntimeChooseMenuItem(description->Print(), description);
  fw::test::SetMessageBoxObserver(nullptr);
  EXPECT_FALSE(fw::RuntimeHasPendingException());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].starts_with("The document was not saved as " + path.toStdString() + ": ")) << messages[0];
  EXPECT_GT(messages[0].size(), ("The document was not saved as " + path.toStdString() + ": .").size());
  EXPECT_FALSE(QFileInfo::exists(path));
  EXPECT_TRUE(fw::test::WidgetOf(fw::Ref<fw::Window>(description))->isVisible());
}
