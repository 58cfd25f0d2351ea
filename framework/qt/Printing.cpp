// Printing on Qt: the system's print dialog on a QPrinter, the page
// graphics that own the job's PDF writer and painter, and the styled-text
// printer that draws a copy of a text area's document line by line.
//
// Qt's own print engine talks to the print service on the UI thread and
// waits for it without end; so the framework asks the service itself, on a
// thread of its own, before the dialog comes up and again when its Print
// button is pressed, and waits at most kServiceWait + 1 s for an answer.
// A job for a printer is drawn into a PDF in memory (no temporary file) and
// sent by a thread of its own on a connection whose every wait ends after
// kServiceWait of silence; its outcome comes back to the event loop. When
// the program quits, its windows go at once and it waits at most kQuitWait
// in all for the jobs still on their way; those it gives up, saying so on
// standard error. A job into a file is written beside the file and put in
// its place only once it is whole. What fails, a thread that cannot start
// too, is told once, in a message box.
//
// The page graphics hold nothing of any window, and the styled-text printer
// holds its own copy of the text and its graphics, so a window that goes
// away in the middle of a job (closed during a background-task yield)
// leaves the job whole.
#include "framework/Printing.h"

#include <cups/cups.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLibrary>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "framework/Controls.h"
#include "framework/Window.h"
#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw {
namespace {

using namespace std::chrono_literals;

// The longest the framework waits for the print service to answer: before
// the dialog, when Print is pressed, and for every step of sending a job.
constexpr auto kServiceWait = 3s;

// The longest the program waits, once it quits, for all the jobs still on
// their way together.
constexpr auto kQuitWait = 2 * kServiceWait;

// ---- The print service's client library, loaded with the first print -------------

// Linked into the program, the client library would bring its encryption,
// Kerberos and service-discovery libraries into every start (some
// megabytes and milliseconds) of a program that seldom prints; like Qt's
// own print support, the framework loads it when a print dialog is wanted.
// clang-format off
#define QUORVEL_CUPS_CALLS(X)                                                                              \
  X(cupsAddOption) X(cupsDoIORequest) X(cupsDoRequest) X(cupsEncodeOptions2) X(cupsEncryption)              \
  X(cupsFreeOptions) X(cupsLastError) X(cupsLastErrorString) X(cupsServer) X(cupsSetPasswordCB2)            \
  X(cupsSetServer) X(cupsUser) X(httpAssembleURIf) X(httpClose) X(httpConnect2) X(httpGetFd) X(httpSetTimeout) \
  X(ippAddString) X(ippDelete) X(ippNewRequest) X(ippPort)
// clang-format on

struct CupsCalls {
#define QUORVEL_CUPS_MEMBER(name) decltype(&::name) name = nullptr;
  QUORVEL_CUPS_CALLS(QUORVEL_CUPS_MEMBER)
#undef QUORVEL_CUPS_MEMBER
};

// The library's calls, or none when it or one of its calls is missing.
// Loaded once, by whichever thread asks first; it stays loaded.
const CupsCalls* LoadCups() {
  static const std::optional<CupsCalls> calls = []() -> std::optional<CupsCalls> {
    QLibrary library(QStringLiteral("cups"), 2);
    if (!library.load()) return std::nullopt;
    CupsCalls c;
    bool all = true;
#define QUORVEL_CUPS_RESOLVE(name) \
  all = all && (c.name = reinterpret_cast<decltype(c.name)>(library.resolve(#name))) != nullptr;
    QUORVEL_CUPS_CALLS(QUORVEL_CUPS_RESOLVE)
#undef QUORVEL_CUPS_RESOLVE
    return all ? std::optional<CupsCalls>(c) : std::nullopt;
  }();
  return calls ? &*calls : nullptr;
}
#undef QUORVEL_CUPS_CALLS

// Only reached once LoadCups() has given the calls.
const CupsCalls& Cups() { return *LoadCups(); }

// ---- The print service, asked off the UI thread ----------------------------------

// Where Qt's print support finds the service; read on the UI thread, whose
// settings are the ones that count.
struct ServiceAddress {
  std::string host;
  int port = 0;
  http_encryption_t encryption = HTTP_ENCRYPTION_IF_REQUESTED;
};

ServiceAddress CurrentService() { return {Cups().cupsServer(), Cups().ippPort(), Cups().cupsEncryption()}; }

// What a worker's connection shares with the UI thread, which gives it up
// when the program ends without it: the connection's socket is shut, and
// every wait on it ends at once.
class GiveUp {
 public:
  void Now() {
    std::lock_guard lock(mutex_);
    givenUp_ = true;
    if (socket_ >= 0) shutdown(socket_, SHUT_RDWR);
  }

 private:
  friend class Connection;
  std::mutex mutex_;
  bool givenUp_ = false;
  int socket_ = -1;  // while the connection is open
};

// A connection of one worker thread to the service, on which every wait
// ends after kServiceWait without a byte, or at once when given up.
class Connection {
 public:
  explicit Connection(const ServiceAddress& address, GiveUp* giveUp = nullptr) : giveUp_(giveUp) {
    // A worker has no one to ask for a password; the service may say no.
    Cups().cupsSetPasswordCB2(
        [](const char*, http_t*, const char*, const char*, void*) -> const char* { return nullptr; }, nullptr);
    const auto start = std::chrono::steady_clock::now();
    http_ = Cups().httpConnect2(address.host.c_str(), address.port, nullptr, AF_UNSPEC, address.encryption, 1,
                                static_cast<int>(std::chrono::milliseconds(kServiceWait).count()), nullptr);
    if (!http_) {
      silent_ = std::chrono::steady_clock::now() - start >= kServiceWait - 100ms;
      return;
    }
    if (giveUp_) {
      std::lock_guard lock(giveUp_->mutex_);
      if (giveUp_->givenUp_) {
        Cups().httpClose(std::exchange(http_, nullptr));
        silent_ = true;
        return;
      }
      giveUp_->socket_ = Cups().httpGetFd(http_);
    }
    Cups().httpSetTimeout(
        http_, std::chrono::duration<double>(kServiceWait).count(),
        [](http_t*, void* self) {
          static_cast<Connection*>(self)->silent_ = true;
          return 0;  // gives up
        },
        this);
  }
  ~Connection() {
    if (!http_) return;
    if (giveUp_) {
      std::lock_guard lock(giveUp_->mutex_);
      giveUp_->socket_ = -1;
    }
    Cups().httpClose(http_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  http_t* Http() const { return http_; }
  // True once a wait went by without an answer.
  bool Silent() const { return silent_; }

 private:
  GiveUp* giveUp_;
  http_t* http_ = nullptr;
  bool silent_ = false;
};

enum class Service {
  kAnswers,  // it answered a request
  kAbsent,   // nothing listens: Qt finds no printers at once
  kSilent,   // it took the connection or the request and said nothing
};

Service AskService(const ServiceAddress& address) {
  Connection connection(address);
  if (!connection.Http()) return connection.Silent() ? Service::kSilent : Service::kAbsent;
  ipp_t* response = Cups().cupsDoRequest(connection.Http(), Cups().ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
  const bool answered = response != nullptr;
  Cups().ippDelete(response);
  if (connection.Silent()) return Service::kSilent;
  // Any answer, a refusal too, shows that the service is there.
  return answered || Cups().cupsLastError() != IPP_STATUS_ERROR_INTERNAL ? Service::kAnswers : Service::kAbsent;
}

// While it lives, user input goes nowhere, and a window system's request
// to close a window is refused and kept for the caller to carry out. Qt's
// own ExcludeUserInputEvents holds such a request back as input and
// delivers it later, when the print dialog that has come up meanwhile
// blocks the window: it would be lost. A modal window that comes up
// meanwhile (a failure of an earlier job, told by a timer) takes input as
// always, and Qt keeps it from the others.
class InputHold : public QObject {
 public:
  InputHold() : modal_(QApplication::activeModalWidget()) { QCoreApplication::instance()->installEventFilter(this); }
  ~InputHold() override { QCoreApplication::instance()->removeEventFilter(this); }
  InputHold(const InputHold&) = delete;
  InputHold& operator=(const InputHold&) = delete;

  // The windows whose close was asked for, each once, in order.
  const std::vector<QPointer<QWidget>>& Closes() const { return closes_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != modal_) return false;
    switch (e->type()) {
      case QEvent::Close: {
        auto* window = qobject_cast<QWidget*>(watched);
        if (!window || !window->isWindow() || !e->spontaneous()) return false;
        if (std::find(closes_.begin(), closes_.end(), window) == closes_.end()) closes_.emplace_back(window);
        e->ignore();  // the window stays, for now
        return true;
      }
      case QEvent::ShortcutOverride:
        e->accept();  // no shortcut is tried; the key itself goes nowhere
        return true;
      case QEvent::Shortcut:
      case QEvent::InputMethod:
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::DragLeave:
      case QEvent::Drop: return true;
      default: return e->isInputEvent();
    }
  }

 private:
  QPointer<QWidget> modal_;  // the one up when the hold began: the print dialog, or none
  std::vector<QPointer<QWidget>> closes_;
};

// Runs `work` on a thread of its own, started for the print path's `step`,
// and waits for it on the UI thread for at most `bound`, letting paints and
// timers run while an InputHold keeps user input out. None when it has not
// ended by then; it runs on and its result is dropped. Raises
// std::system_error when no thread can start.
template <class T>
std::optional<T> WaitOffThread(const char* step, std::function<T()> work, std::chrono::milliseconds bound) {
  auto task = std::make_shared<std::packaged_task<T()>>(std::move(work));
  std::future<T> result = task->get_future();
  detail::StartPrintThread(step, [task] { (*task)(); });
  const auto deadline = std::chrono::steady_clock::now() + bound;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (result.wait_for(0s) == std::future_status::ready || std::chrono::steady_clock::now() >= deadline) loop.quit();
  });
  poll.start(20);
  if (result.wait_for(0s) != std::future_status::ready) loop.exec();
  if (result.wait_for(0s) != std::future_status::ready) return std::nullopt;
  return result.get();
}

// What asking the service came to.
struct Check {
  Service service = Service::kSilent;
  std::string failure;  // when it could not be asked: what the user is told
};

// Asks the service; the caller holds user input back (InputHold).
Check CheckService() {
  const ServiceAddress address = CurrentService();
  Check check;
  try {
    check.service = WaitOffThread<Service>(
                        "PrintServiceCheck", [address] { return AskService(address); }, kServiceWait + 1s)
                        .value_or(Service::kSilent);
  } catch (const std::system_error& e) {
    check.failure = "Nothing was printed: the print service could not be asked (" + e.code().message() + ").";
  }
  return check;
}

// Closes the windows as the window system asked, once the running handler
// has returned to the event loop: none goes away under it.
void CloseLater(const std::vector<QPointer<QWidget>>& windows) {
  QTimer::singleShot(0, QCoreApplication::instance(), [windows] {
    for (const QPointer<QWidget>& window : windows) {
      auto* widget = dynamic_cast<detail::WindowWidget*>(window.data());
      if (!widget) {
        if (window) window->close();
        continue;
      }
      if (auto owner = widget->Owner()) detail::WindowCloseRequested(*owner);
    }
  });
}

const char* const kServiceSilent = "Nothing can be printed now: the print service does not answer.";

// ---- Jobs -----------------------------------------------------------------------

// Where a job's PDF goes: a device to write it into while it is drawn, and
// what becomes of it once it is complete.
class JobOutput {
 public:
  virtual ~JobOutput() = default;
  virtual QIODevice& Device() = 0;
  // The PDF is complete. Reports its own failure; raises nothing.
  virtual void Finish() = 0;
};

// A PDF file, written beside its place and moved there only once it is
// whole: a job that fails leaves no part of a document behind, and a file
// it was to replace stays as it was.
class FileOutput : public JobOutput {
 public:
  explicit FileOutput(const QString& path) : file_(path) {}
  // False, with the reason reported, when the file cannot be made.
  bool Open() {
    if (file_.open(QIODevice::WriteOnly)) return true;
    Fail();
    return false;
  }
  QIODevice& Device() override { return file_; }
  void Finish() override {
    // commit() misses a failure of the last buffered write: flush first.
    // Qt gives no text for that failure; the system's is in errno.
    errno = 0;
    if (!file_.flush()) {
      Fail(errno ? std::strerror(errno) : detail::ToStdString(file_.errorString()));
      file_.cancelWriting();
      file_.commit();  // drops the unfinished file
      return;
    }
    if (!file_.commit()) Fail();
  }

 private:
  void Fail() { Fail(detail::ToStdString(file_.errorString())); }
  void Fail(const std::string& reason) {
    detail::ReportPrintFailure("The document was not saved as " + detail::ToStdString(file_.fileName()) + ": " +
                               reason + ".");
  }
  QSaveFile file_;
};

// What the print service says to one job.
struct Outcome {
  bool sent = false;
  std::string reason;  // why it was not
};

// One job for a printer of the service: what is sent and where.
struct Submission {
  ServiceAddress service;
  std::string queue, jobName;
  std::vector<std::pair<std::string, std::string>> options;
  QByteArray pdf;
};

// Sends the job with one Print-Job request; runs on a worker thread.
Outcome Send(const Submission& job, GiveUp& giveUp) {
  Connection connection(job.service, &giveUp);
  if (!connection.Http()) {
    return {false, connection.Silent() ? "the print service does not answer"
                                       : "the print service is not running or cannot be reached"};
  }
  // The request reads the document from a file; this one lives in memory.
  const int fd = memfd_create("quorvel-print-job", MFD_CLOEXEC);
  if (fd < 0) return {false, std::string("the job could not be held for sending (") + strerror(errno) + ")"};
  for (qsizetype done = 0; done < job.pdf.size();) {
    const ssize_t n = write(fd, job.pdf.constData() + done, static_cast<std::size_t>(job.pdf.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::string reason = strerror(errno);
      close(fd);
      return {false, "the job could not be held for sending (" + reason + ")"};
    }
    done += n;
  }
  lseek(fd, 0, SEEK_SET);

  const std::string queue = job.queue.substr(0, job.queue.find('/'));  // the queue of an instance
  const std::string resource = "/printers/" + queue;
  char uri[HTTP_MAX_URI];
  Cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr,
                          job.service.host.starts_with('/') ? "localhost" : job.service.host.c_str(), job.service.port,
                          "/printers/%s", queue.c_str());
  ipp_t* request = Cups().ippNewRequest(IPP_OP_PRINT_JOB);
  Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, Cups().cupsUser());
  Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, job.jobName.c_str());
  Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, "application/pdf");
  cups_option_t* options = nullptr;
  int count = 0;
  for (const auto& [name, value] : job.options)
    count = Cups().cupsAddOption(name.c_str(), value.c_str(), count, &options);
  Cups().cupsEncodeOptions2(request, count, options, IPP_TAG_OPERATION);
  Cups().cupsEncodeOptions2(request, count, options, IPP_TAG_JOB);
  Cups().cupsFreeOptions(count, options);

  ipp_t* response = Cups().cupsDoIORequest(connection.Http(), request, resource.c_str(), fd, -1);  // frees the request
  Cups().ippDelete(response);
  close(fd);
  if (connection.Silent()) return {false, "the print service does not answer"};
  if (Cups().cupsLastError() > IPP_STATUS_OK_CONFLICTING) return {false, Cups().cupsLastErrorString()};
  return {true, {}};
}

// The jobs on their way to the service. Each is sent on a thread of its
// own; its outcome is picked up here, on the UI thread, and a failure
// reported. When the program quits, its windows go, and it waits at most
// kQuitWait for the jobs still on their way; it gives up those that are
// not through by then.
class Submissions : public QObject {
 public:
  // The one of the application, made with its first job.
  static Submissions& Get() {
    static QPointer<Submissions> self;
    if (!self) self = new Submissions(QCoreApplication::instance());
    return *self;
  }

  // Reports, and keeps nothing of the job, when no thread can send it.
  void Add(Submission job) {
    std::string queue = job.queue;
    auto giveUp = std::make_shared<GiveUp>();
    auto task =
        std::make_shared<std::packaged_task<Outcome()>>([job = std::move(job), giveUp] { return Send(job, *giveUp); });
    std::future<Outcome> outcome = task->get_future();
    try {
      detail::StartPrintThread("PrintJobSend", [task] { (*task)(); });
    } catch (const std::system_error& e) {
      detail::ReportPrintFailure("Nothing was printed on " + queue + ": the job could not be sent (" +
                                 e.code().message() + ").");
      return;
    }
    running_.push_back({std::move(outcome), std::move(queue), std::move(giveUp)});
    if (!poll_.isActive()) poll_.start(50);
  }

 private:
  struct Running {
    std::future<Outcome> outcome;
    std::string queue;
    std::shared_ptr<GiveUp> giveUp;
  };

  explicit Submissions(QObject* app) : QObject(app) {
    connect(&poll_, &QTimer::timeout, this, &Submissions::Poll);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Submissions::AtQuit);
  }

  // The loop has ended; no message box can be shown any more.
  void AtQuit() {
    if (running_.empty()) return;
    // The user asked to quit: the windows go now, not once the jobs are out.
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    const auto deadline = std::chrono::steady_clock::now() + kQuitWait;
    for (auto& job : running_) {
      if (job.outcome.wait_until(deadline) == std::future_status::ready) {
        const Outcome outcome = job.outcome.get();
        if (!outcome.sent) std::cerr << "quorvel: " << FailureText(job.queue, outcome) << std::endl;
        continue;
      }
      std::cerr << "quorvel: the print job for " << job.queue
                << " was given up: the print service had not taken it when the program quit" << std::endl;
      job.giveUp->Now();
    }
    // A given-up job's thread ends as soon as its socket is shut; none is
    // left running while the process ends, unless it is still connecting.
    const auto ended = std::chrono::steady_clock::now() + 1s;
    for (auto& job : running_) {
      if (job.outcome.valid()) job.outcome.wait_until(ended);
    }
    running_.clear();
  }

  void Poll() {
    std::vector<Running> done;
    for (auto it = running_.begin(); it != running_.end();) {
      if (it->outcome.wait_for(0s) == std::future_status::ready) {
        done.push_back(std::move(*it));
        it = running_.erase(it);
      } else {
        ++it;
      }
    }
    if (running_.empty()) poll_.stop();
    // Reported once the list is settled: a message box runs the loop, and
    // this with it.
    for (auto& job : done) {
      const Outcome outcome = job.outcome.get();
      if (!outcome.sent) detail::ReportPrintFailure(FailureText(job.queue, outcome));
    }
  }

  static std::string FailureText(const std::string& queue, const Outcome& outcome) {
    // The service's own reason may end in a full stop already.
    const bool stopped = outcome.reason.ends_with('.');
    return "Nothing was printed on " + queue + ": " + outcome.reason + (stopped ? "" : ".");
  }

  std::vector<Running> running_;
  QTimer poll_;
};

// A job for a printer of the service: drawn into memory, then sent.
class PrinterOutput : public JobOutput {
 public:
  explicit PrinterOutput(Submission job) : job_(std::move(job)), buffer_(&job_.pdf) {
    buffer_.open(QIODevice::WriteOnly);
  }
  QIODevice& Device() override { return buffer_; }
  void Finish() override {
    buffer_.close();
    Submissions::Get().Add(std::move(job_));
  }

 private:
  Submission job_;
  QBuffer buffer_;
};

// The options Qt's print support sends with a job of the dialog's printer:
// the paper, copies, sides and orientation, then what the dialog and its
// properties set (Qt keeps those as name-value pairs under an engine
// property of its own).
std::vector<std::pair<std::string, std::string>> JobOptions(QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  std::vector<std::pair<std::string, std::string>> options;
  options.emplace_back("media", detail::ToStdString(layout.pageSize().key()));
  if (printer.copyCount() > 1) {
    options.emplace_back("copies", std::to_string(printer.copyCount()));
    if (printer.collateCopies()) options.emplace_back("Collate", "True");
  }
  switch (printer.duplex()) {
    case QPrinter::DuplexNone: options.emplace_back("sides", "one-sided"); break;
    case QPrinter::DuplexAuto:
      options.emplace_back(
          "sides", layout.orientation() == QPageLayout::Portrait ? "two-sided-long-edge" : "two-sided-short-edge");
      break;
    case QPrinter::DuplexLongSide: options.emplace_back("sides", "two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: options.emplace_back("sides", "two-sided-short-edge"); break;
  }
  if (layout.orientation() == QPageLayout::Landscape) options.emplace_back("landscape", "");
  constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
  const QStringList pairs = printer.printEngine()->property(kCupsOptions).toStringList();
  for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
    options.emplace_back(detail::ToStdString(pairs[i]), detail::ToStdString(pairs[i + 1]));
  }
  return options;
}

// One print job: its PDF writer and the painter begun on it, in units of
// 1/72 inch from the printable area's top-left. The job ends, and goes to
// its printer or file, when this object goes.
class PageGraphics : public Graphics {
 public:
  PageGraphics(std::unique_ptr<JobOutput> output, const QPageLayout& layout, int resolution, const QString& title)
      : output_(std::move(output)), writer_(&output_->Device()) {
    writer_.setPageLayout(layout);
    writer_.setResolution(resolution);
    writer_.setTitle(title);
    writer_.setCreator(QCoreApplication::applicationName());
  }
  ~PageGraphics() override {
    if (!painter_.isActive()) return;
    painter_.end();
    output_->Finish();
  }

  // False when the painter cannot begin on the writer.
  bool Begin() {
    if (!painter_.begin(&writer_)) return false;
    painter_.scale(writer_.logicalDpiX() / 72.0, writer_.logicalDpiY() / 72.0);
    painter_.setPen(Qt::black);
    return true;
  }

  void NextPage() override {
    CheckUIThread("Graphics.NextPage");
    if (!writer_.newPage()) throw RuntimeException("the printer could not begin a new page");
  }

  QPainter& Painter() { return painter_; }

 private:
  std::unique_ptr<JobOutput> output_;  // declared first: the writer and painter end before it goes
  QPdfWriter writer_;
  QPainter painter_;
};

// The page graphics of a job with these settings, or none (reported) when
// it cannot start.
Ref<Graphics> StartJob(std::unique_ptr<JobOutput> output, const QPageLayout& layout, int resolution,
                       const QString& title) {
  auto graphics = New<PageGraphics>(std::move(output), layout, resolution, title);
  if (graphics->Begin()) return graphics;
  detail::ReportPrintFailure("Nothing was printed: the print job could not start.");
  return {};
}

Ref<Graphics> StartFileJob(const QString& path, const QPageLayout& layout, int resolution, const QString& title) {
  auto output = std::make_unique<FileOutput>(path);
  if (!output->Open()) return {};
  return StartJob(std::move(output), layout, resolution, title);
}

// The system's print dialog, which asks the service once more when Print
// is pressed: Qt's own steps there wait on the service without end.
class PrintDialog : public QPrintDialog {
 public:
  using QPrintDialog::QPrintDialog;

  // What to tell when Print was pressed and the service could not be
  // asked or did not answer; empty otherwise.
  const std::string& Failure() const { return failure_; }

  void accept() override {
    if (!LoadCups()) return QPrintDialog::accept();
    InputHold hold;
    const Check check = CheckService();
    // A close asked for meanwhile, of the dialog (no other window takes
    // one while it is up), cancels it.
    if (!hold.Closes().empty()) return reject();
    if (!check.failure.empty()) {
      failure_ = check.failure;
      return reject();
    }
    if (check.service != Service::kSilent) return QPrintDialog::accept();
    // The file name is open for editing only while the destination is a
    // file (the dialog's own field).
    const auto* file = findChild<QLineEdit*>("filename");
    if (!file || !file->isEnabled()) {
      failure_ = kServiceSilent;
      return reject();
    }
    // A file needs no service, but Qt asks it all the same: this thread's
    // requests go to an address where nothing can listen while the dialog
    // takes the choice, and fail at once.
    Cups().cupsSetServer("/dev/null/no-print-service");
    QPrintDialog::accept();
    Cups().cupsSetServer(nullptr);
  }

 private:
  std::string failure_;
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

namespace detail {

Ref<Graphics> QtOpenPrinterDialog(Window* parent, const std::string& jobName) {
  // Without the client library Qt finds no printers either; a file can
  // still be chosen.
  const bool service = LoadCups() != nullptr;
  // User input is held back from the check until the dialog is up. A
  // close asked for meanwhile wins: that window closes in place of the
  // dialog.
  std::optional<InputHold> hold(std::in_place);
  if (service) {
    const Check check = CheckService();
    if (!hold->Closes().empty()) {
      CloseLater(hold->Closes());
      return {};
    }
    if (!check.failure.empty() || check.service == Service::kSilent) {
      hold.reset();  // the message box takes input
      ReportPrintFailure(check.failure.empty() ? kServiceSilent : check.failure);
      return {};
    }
  }
  const ServiceAddress address = service ? CurrentService() : ServiceAddress();
  QPrinter printer(QPrinter::HighResolution);
  const QString title = ToQString(jobName);
  printer.setDocName(title);  // also the file name the dialog offers
  // The dialog may lose its parent while it is up; QPointer sees that.
  QPointer<PrintDialog> dialog = new PrintDialog(&printer, parent ? WidgetOf(*parent) : nullptr);
  // What came while Qt asked the service for its printers on this thread,
  // before the dialog blocks the other windows.
  QCoreApplication::processEvents();
  if (!hold->Closes().empty()) {
    delete dialog.data();
    CloseLater(hold->Closes());
    return {};
  }
  hold.reset();
  if (!dialog) return {};  // its window went meanwhile
  const int result = dialog->exec();
  const std::string failure = dialog ? dialog->Failure() : std::string();
  delete dialog.data();
  if (!failure.empty()) {
    ReportPrintFailure(failure);
    return {};
  }
  if (result != QDialog::Accepted) return {};
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    return StartFileJob(printer.outputFileName(), printer.pageLayout(), printer.resolution(), title);
  }
  if (printer.printerName().isEmpty() || !service) {
    ReportPrintFailure("Nothing was printed: no printer was chosen.");
    return {};
  }
  Submission job{address, ToStdString(printer.printerName()), jobName, JobOptions(printer), {}};
  return StartJob(std::make_unique<PrinterOutput>(std::move(job)), printer.pageLayout(), printer.resolution(), title);
}

Ref<Graphics> QtPdfPrintJob(const std::string& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  return StartFileJob(ToQString(path), printer.pageLayout(), printer.resolution(), QString());
}

void QtBackgroundTask() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

Ref<StyledTextPrinter> NewDocumentPrinter(const Ref<Graphics>& graphics, const QTextEdit& editor, std::int64_t width) {
  auto* page = dynamic_cast<PageGraphics*>(graphics.get());
  if (!page) throw RuntimeException("TextArea.styledTextPrinter needs the graphics of a print job");
  return New<DocumentPrinter>(graphics, *page, editor, width);
}

}  // namespace detail
}  // namespace fw
