// Printing on Qt: the system's print dialog on a QPrinter, the page
// graphics that own the job's printer and painter, and the styled-text
// printer that draws a copy of a text area's document line by line.
//
// The page graphics hold nothing of any window, and the styled-text printer
// holds its own copy of the text and its graphics, so a window that goes
// away in the middle of a job (closed during a background-task yield)
// leaves the job whole.
#include "framework/Printing.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/TestSeams.h"
#include "framework/Window.h"
#include "framework/qt/Peers.h"

namespace fw {
namespace {

std::function<Ref<Graphics>()>& PrintDialogSeam() {
  static std::function<Ref<Graphics>()> dialog;
  return dialog;
}

std::function<Ref<StyledTextPrinter>(const Ref<Graphics>&, std::int64_t)>& PrinterFactorySeam() {
  static std::function<Ref<StyledTextPrinter>(const Ref<Graphics>&, std::int64_t)> factory;
  return factory;
}

int& BackgroundTasks() {
  static int count = 0;
  return count;
}

// The only places that reach into the peers: the widget a dialog stands
// over, and a text area's editor.
QWidget* DialogParent(const Ref<Window>& window) { return window ? window->Peer()->widget.data() : nullptr; }
QTextEdit* EditorOf(const TextArea& area) { return qobject_cast<QTextEdit*>(area.Peer()->widget.data()); }

// One print job: its printer and the painter begun on it, in units of
// 1/72 inch from the printable area's top-left. The job ends, and goes to
// the printer, when this object goes.
class PageGraphics : public Graphics {
 public:
  explicit PageGraphics(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {
    printer_->setFullPage(false);  // the origin is the printable area's corner
    if (!painter_.begin(printer_.get())) {
      throw RuntimeException("the printer could not start the print job");
    }
    painter_.scale(printer_->logicalDpiX() / 72.0, printer_->logicalDpiY() / 72.0);
    painter_.setPen(Qt::black);
  }
  ~PageGraphics() override {
    if (painter_.isActive()) painter_.end();
  }

  void NextPage() override {
    CheckUIThread("Graphics.NextPage");
    if (!printer_->newPage()) throw RuntimeException("the printer could not begin a new page");
  }

  QPainter& Painter() { return painter_; }

 private:
  std::unique_ptr<QPrinter> printer_;  // declared first: the painter ends before it goes
  QPainter painter_;
};

// A copy of a text area's document laid out at a fixed width, drawn a block
// of whole lines at a time. It does not follow later edits of the area.
class DocumentPrinter : public StyledTextPrinter {
 public:
  DocumentPrinter(Ref<Graphics> graphics, PageGraphics& page, const QTextEdit& editor, std::int64_t width)
      : graphics_(std::move(graphics)), page_(page), document_(editor.document()->clone()) {
    document_->setDefaultFont(editor.font());
    document_->setDocumentMargin(0);
    document_->setUseDesignMetrics(true);  // unhinted advances: the page is not the screen
    QTextOption option = document_->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document_->setDefaultTextOption(option);
    document_->setTextWidth(static_cast<qreal>(width));
    document_->documentLayout();  // lays the whole text out now
    if (document_->isEmpty()) return;
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
      QTextLayout* layout = block.layout();
      for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        lines_.push_back({layout, i, layout->position().y() + line.y(), line.height()});
      }
    }
  }

  bool EOF() override { return next_ >= lines_.size(); }

  void DrawBlock(std::int64_t x, std::int64_t y, std::int64_t height) override {
    CheckUIThread("StyledTextPrinter.DrawBlock");
    if (EOF()) return;
    const qreal top = lines_[next_].top;
    std::size_t end = next_ + 1;
    while (end < lines_.size() && lines_[end].top + lines_[end].height - top <= static_cast<qreal>(height)) ++end;
    QPainter& painter = page_.Painter();
    const QPointF origin(static_cast<qreal>(x), static_cast<qreal>(y) - top);
    for (; next_ < end; ++next_) {
      const Line& line = lines_[next_];
      line.layout->lineAt(line.index).draw(&painter, origin + line.layout->position());
    }
  }

 private:
  struct Line {
    QTextLayout* layout;  // owned by document_
    int index;
    qreal top, height;
  };

  Ref<Graphics> graphics_;  // keeps the job, and so page_, alive
  PageGraphics& page_;
  std::unique_ptr<QTextDocument> document_;
  std::vector<Line> lines_;
  std::size_t next_ = 0;
};

}  // namespace

Ref<Graphics> OpenPrinterDialog(const Ref<Object>& /*pageSetup*/, const Ref<Window>& parent) {
  CheckUIThread("OpenPrinterDialog");
  if (auto& seam = PrintDialogSeam()) return seam();
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // The dialog may lose its parent while it is up; QPointer sees that.
  QPointer<QPrintDialog> dialog = new QPrintDialog(printer.get(), DialogParent(parent));
  const int result = dialog->exec();
  delete dialog.data();
  if (result != QDialog::Accepted) return {};
  return New<PageGraphics>(std::move(printer));
}

void RuntimeBackgroundTask() {
  CheckUIThread("RuntimeBackgroundTask");
  ++BackgroundTasks();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

Ref<StyledTextPrinter> TextArea::styledTextPrinter(const Ref<Graphics>& graphics, std::int64_t width) {
  CheckUIThread("TextArea.styledTextPrinter");
  if (auto& factory = PrinterFactorySeam()) return factory(graphics, width);
  if (!graphics) throw NilObjectException("TextArea.styledTextPrinter was given no graphics");
  auto* page = dynamic_cast<PageGraphics*>(graphics.get());
  if (!page) throw RuntimeException("TextArea.styledTextPrinter needs the graphics of a print job");
  if (width <= 0) throw RuntimeException("TextArea.styledTextPrinter needs a width above 0");
  const QTextEdit* editor = EditorOf(*this);
  if (!editor) throw RuntimeException("the text area " + Name() + " has no editor to print from");
  return New<DocumentPrinter>(graphics, *page, *editor, width);
}

namespace test {
void SetPrintDialog(std::function<Ref<Graphics>()> dialog) { PrintDialogSeam() = std::move(dialog); }

Ref<Graphics> PdfPrintJob(const std::string& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(QString::fromStdString(path));
  return New<PageGraphics>(std::move(printer));
}

void SetStyledTextPrinterFactory(
    std::function<Ref<StyledTextPrinter>(const Ref<Graphics>& graphics, std::int64_t width)> factory) {
  PrinterFactorySeam() = std::move(factory);
}

int BackgroundTaskCount() { return BackgroundTasks(); }
}  // namespace test
}  // namespace fw
