// The description window through its real widgets: made hidden and shown by
// its callers, its settings and text areas as the lists give them, the bold
// heading (highlighted only while its area has the focus), the read-only
// fields and their tab order, the hidden menu bar that Alt reveals, the menu
// states, Control, About and the print loop (through the print-dialog and
// printer seams), and the calculator's two ways of opening it.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/Printing.h"
#include "framework/Protocol.h"
#include "info/AboutWnd.h"
#include "info/DescriptionWnd.h"
#include "info/DescriptionWndLayout.h"
#include "shell/Menu.h"
#include "tests/support/GuiTest.h"
#include "tests/support/Highlight.h"
#include "tests/support/Menus.h"
#include "tests/support/TestWindows.h"

namespace {

using I = std::int64_t;

QTextEdit* EditorOf(const fw::Ref<fw::TextArea>& area) { return qobject_cast<QTextEdit*>(fw::test::WidgetOf(area)); }

// The bar that floats over a window whose menu bar is hidden.
QMenuBar* FloatingBar(const fw::Ref<fw::Window>& window) { return fw::test::WidgetOf(window)->findChild<QMenuBar*>(); }

QMenu* OpenPopup() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

// Page graphics that records its pages.
class FakeGraphics : public fw::Graphics {
 public:
  explicit FakeGraphics(std::vector<std::string>* log) : log_(log) {}
  void NextPage() override { log_->push_back("NextPage"); }

 private:
  std::vector<std::string>* log_;
};

// A printer whose text takes `blocks` blocks; it records each block with
// the yields seen before it.
class FakePrinter : public fw::StyledTextPrinter {
 public:
  FakePrinter(int blocks, std::vector<std::string>* log) : left_(blocks), log_(log) {
    yieldsAtStart_ = fw::test::BackgroundTaskCount();
  }
  bool EOF() override { return left_ == 0; }
  void DrawBlock(std::int64_t x, std::int64_t y, std::int64_t height) override {
    log_->push_back("DrawBlock " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(height) +
                    " after " + std::to_string(fw::test::BackgroundTaskCount() - yieldsAtStart_) + " yields");
    --left_;
  }

 private:
  int left_;
  int yieldsAtStart_;
  std::vector<std::string>* log_;
};

class DescriptionGui : public GuiTest {
 protected:
  void TearDown() override {
    fw::test::SetPrintDialog(nullptr);
    fw::test::SetStyledTextPrinterFactory(nullptr);
    GuiTest::TearDown();
  }

  // The description window, shown and active.
  fw::Ref<class DescriptionWnd> Shown() {
    auto window = DescriptionWnd();
    window->Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(window)));
    return window;
  }

  static QWidget* KeyTarget(const fw::Ref<fw::Window>& window) {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    return fw::test::WidgetOf(window);
  }

  // Alt pressed and released alone, with the loop turning between the two
  // as it does for a real keyboard; each goes where the keys go then.
  static void Alt(const fw::Ref<fw::Window>& window) {
    QTest::keyPress(KeyTarget(window), Qt::Key_Alt);
    QCoreApplication::processEvents();
    QTest::keyRelease(KeyTarget(window), Qt::Key_Alt);
  }

  static void Key(const fw::Ref<fw::Window>& window, Qt::Key key) { QTest::keyClick(KeyTarget(window), key); }

  // Alt, then Right until the menu `title` is open, then Down until the
  // item `item` is active; by keys alone. Returns the open menu.
  static QMenu* GoTo(const fw::Ref<fw::Window>& window, const QString& title, const QString& item) {
    Alt(window);
    if (!QTest::qWaitFor([] { return OpenPopup() != nullptr; })) return nullptr;
    for (int i = 0; i < 6 && OpenPopup() && OpenPopup()->title() != title; ++i) Key(window, Qt::Key_Right);
    QMenu* menu = OpenPopup();
    if (!menu || menu->title() != title) return nullptr;
    for (int i = 0; i < 10 && !(menu->activeAction() && menu->activeAction()->text() == item); ++i) {
      Key(window, Qt::Key_Down);
    }
    if (!menu->activeAction() || menu->activeAction()->text() != item) return nullptr;
    return menu;
  }

  // Chooses File > Print, Window > Control and the like by keys alone.
  static void Choose(const fw::Ref<fw::Window>& window, const QString& title, const QString& item) {
    QMenu* menu = GoTo(window, title, item);
    ASSERT_NE(menu, nullptr) << "no enabled " << title.toStdString() << " > " << item.toStdString();
    Key(window, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !FloatingBar(window)->isVisible(); }));
  }

  // Print dialog and printer seams: each job gets new graphics and a
  // printer of `blocks` blocks.
  void SubstitutePrinting(int blocks) {
    fw::test::SetPrintDialog([this] {
      ++dialogs_;
      return fw::Ref<fw::Graphics>(fw::New<FakeGraphics>(&log_));
    });
    fw::test::SetStyledTextPrinterFactory([this, blocks](const fw::Ref<fw::Graphics>& graphics, std::int64_t width) {
      log_.push_back("printer " + std::to_string(width) + (graphics ? "" : " without graphics"));
      return fw::Ref<fw::StyledTextPrinter>(fw::New<FakePrinter>(blocks, &log_));
    });
  }

  std::vector<std::string> log_;
  int dialogs_ = 0;
};

// ---- The framework's text area: line breaks, selection, bold ---------------

// A shown window of one multi-line area, styled or plain.
fw::Ref<testsupport::OneAreaWnd> AreaWnd(bool styled) {
  return testsupport::MakeOneAreaWnd({}, {{"Multiline", true}, {"AllowStyledText", styled}, {"Width", I{200}}});
}

// Whether each document character is bold, as a string of 'B' and '-', with
// '|' for a line break, which shows no style.
std::string BoldMap(const fw::Ref<fw::TextArea>& area) {
  QTextEdit* editor = EditorOf(area);
  QTextCursor probe(editor->document());
  std::string map;
  for (int p = 0; p + 1 < editor->document()->characterCount(); ++p) {
    if (editor->document()->characterAt(p) == QChar::ParagraphSeparator) {
      map += '|';
      continue;
    }
    probe.setPosition(p + 1);
    map += probe.charFormat().fontWeight() >= QFont::Bold ? 'B' : '-';
  }
  return map;
}

TEST_F(DescriptionGui, ATextAreaKeepsLineBreaksAndCountsItsSelectionInCharacters) {
  auto area = AreaWnd(true)->Area();
  // Every kind of break sets one line and reads back as CR LF.
  for (const char* text : {"ab\r\ncd\r\n", "ab\ncd\n", "ab\rcd\r"}) {
    area->Value(text);
    EXPECT_EQ(EditorOf(area)->document()->blockCount(), 3) << text;
    EXPECT_EQ(area->Value(), "ab\r\ncd\r\n") << text;
  }
  // "a" CR LF "b" U+1F600 "cd": the emoji is one character, CR LF two.
  area->Value(
      "a\r\nb\xF0\x9F\x98\x80"
      "cd");
  struct Case {
    std::int64_t start, length;
    const char* selected;
    const char* bold;  // document positions: a, break, b, two halves of the emoji, c, d
  };
  const Case cases[] = {
      {0, 1, "a", "B|-----"},
      {1, 2, "\u2029", "-|-----"},
      {3, 2, "b\xF0\x9F\x98\x80", "-|BBB--"},
      {5, 2, "cd", "-|---BB"},
      {0, 7,
       "a\u2029b\xF0\x9F\x98\x80"
       "cd",
       "B|BBBBB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + "+" + std::to_string(c.length));
    area->Value(area->Value());  // plain again
    area->SelectionStart(c.start);
    area->SelectionLength(c.length);
    EXPECT_EQ(area->SelectionStart(), c.start);
    EXPECT_EQ(area->SelectionLength(), c.length);
    EXPECT_EQ(EditorOf(area)->textCursor().selectedText().toStdString(), c.selected);
    EXPECT_FALSE(area->SelectionBold());
    area->SelectionBold(true);
    // A selection of a line break alone has nothing to show bold.
    EXPECT_EQ(area->SelectionBold(), c.length != 2 || c.start != 1);
    EXPECT_EQ(BoldMap(area), c.bold);
    EXPECT_EQ(area->Value(),
              "a\r\nb\xF0\x9F\x98\x80"
              "cd")
        << "styling changed the text";
  }
  area->SelectionBold(false);
  EXPECT_EQ(BoldMap(area), "-|-----");

  // A plain area keeps one style.
  auto plain = AreaWnd(false)->Area();
  plain->Value("abc");
  plain->SelectionStart(0);
  plain->SelectionLength(2);
  plain->SelectionBold(true);
  EXPECT_EQ(BoldMap(plain), "---");
}

// ---- The window and its settings -----------------------------------------

TEST_F(DescriptionGui, ThereIsOneWindowAndItCarriesTheProgramsMenuBar) {
  auto window = DescriptionWnd();
  EXPECT_TRUE(window->IsOpen());
  EXPECT_TRUE(DescriptionWnd() == window) << "a second call made a second window";
  window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(window)));
  EXPECT_TRUE(window->MenuBar() == Menu()) << "the window's own bar is not the program's one menu bar";
  EXPECT_EQ(testsupport::OpenWindowsOf(DescriptionWnd::kClassName), 1);
}

// Whether a window or an area shows a key's listed value.
using Shows = std::function<bool(const fw::PropertyValue& listed)>;

// Shows when `reading` (the widget's state in the list's own type and
// terms) equals the listed value.
template <class F>
Shows Reads(F reading) {
  return [reading](const fw::PropertyValue& listed) { return listed == fw::PropertyValue(reading()); };
}

fw::Color ColorOf(const QColor& c) {
  const auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
  return {byte(c.red()), byte(c.green()), byte(c.blue()), byte(255 - c.alpha())};
}

// Every key of `list` shows as `shows` tells, or is one that the framework
// keeps, with its value.
void ExpectShownOrKept(const fw::Configurable& target, const fw::PropertyList& list,
                       const std::map<std::string, Shows>& shows, const std::string& what) {
  for (const auto& [key, value] : list) {
    SCOPED_TRACE(what + "." + key);
    if (auto it = shows.find(key); it != shows.end()) {
      EXPECT_TRUE(it->second(value)) << "the widget does not show the listed value";
    } else {
      const fw::PropertyValue* kept = target.Kept(key);
      ASSERT_NE(kept, nullptr) << "neither shown nor kept";
      EXPECT_TRUE(*kept == value);
    }
  }
}

// The lists are the layout's own (their values are the layout data's
// tests): what they say must reach the frame and the two editors. The few
// keys that no widget of this window shows are read through the model.
TEST_F(DescriptionGui, EveryKeyOfBothListsShowsInTheWidgetsOrIsKept) {
  auto w = DescriptionWnd();
  QMainWindow* frame = fw::test::WidgetOf(w);
  const bool shownBeforeItsCallerShowedIt = frame->isVisible();
  w->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  QWidget* content = frame->centralWidget();
  const auto flag = [frame](Qt::WindowType hint) { return frame->windowFlags().testFlag(hint); };

  const std::map<std::string, Shows> window = {
      {"Width", Reads([&] { return I{content->width()}; })},
      {"Height", Reads([&] { return I{content->height()}; })},
      {"Resizeable", Reads([&] { return content->minimumSize() != content->maximumSize(); })},
      {"Type", Reads([&] { return frame->windowType() == Qt::Dialog ? fw::kDialogWindow : fw::kDocumentWindow; })},
      {"Title", Reads([&] { return frame->windowTitle().toStdString(); })},
      {"HasCloseButton", Reads([&] { return flag(Qt::WindowCloseButtonHint); })},
      {"HasMaximizeButton", Reads([&] { return flag(Qt::WindowMaximizeButtonHint); })},
      {"HasMinimizeButton", Reads([&] { return flag(Qt::WindowMinimizeButtonHint); })},
      {"FullScreen", Reads([&] { return frame->isFullScreen(); })},
      {"DefaultLocation", Reads([&] {
         // Centred as the frame measured before the window system framed it.
         const QRect outer = frame->frameGeometry();
         const QSize slack = outer.size() - frame->size() + QSize(2, 2);
         const QPoint off = outer.center() - QGuiApplication::primaryScreen()->availableGeometry().center();
         const bool centred = std::abs(off.x()) <= slack.width() && std::abs(off.y()) <= slack.height();
         // Anything else places the window at Left, Top.
         return centred ? fw::kCentredOnScreen : fw::kCentredOnScreen + 1;
       })},
      {"Visible", Reads([&] { return shownBeforeItsCallerShowedIt; })},
      {"MenuBarVisible", Reads([&] { return frame->menuWidget() != nullptr || FloatingBar(w)->isVisible(); })},
      // What a window of fixed size, centred, without a background of its
      // own does not show: its size limits, its place and its colour.
      {"MinimumWidth", Reads([&] { return w->MinimumWidth(); })},
      {"MinimumHeight", Reads([&] { return w->MinimumHeight(); })},
      {"MaximumWidth", Reads([&] { return w->MaximumWidth(); })},
      {"MaximumHeight", Reads([&] { return w->MaximumHeight(); })},
      {"Left", Reads([&] { return w->Left(); })},
      {"Top", Reads([&] { return w->Top(); })},
      {"HasBackgroundColor", Reads([&] { return w->HasBackgroundColor(); })},
      {"BackgroundColor", Reads([&] { return w->BackgroundColor(); })},
  };
  ExpectShownOrKept(*w, DescriptionWndLayout::Lists().WindowList(), window, "DescriptionWnd");

  // The editors in the order Tab walks them.
  std::vector<QWidget*> tabOrder;
  for (QWidget* next = frame->nextInFocusChain(); next != frame; next = next->nextInFocusChain()) {
    if (qobject_cast<QTextEdit*>(next)) tabOrder.push_back(next);
  }
  for (const auto& [name, list] : DescriptionWndLayout::Lists().ControlLists()) {
    auto a = fw::Cast<fw::TextArea>(w->_ControlByName(name));
    ASSERT_TRUE(a) << name;
    QTextEdit* e = EditorOf(a);
    ASSERT_NE(e, nullptr) << name;
    const auto color = [e](QPalette::ColorRole role) { return ColorOf(e->palette().color(role)); };
    const std::map<std::string, Shows> area = {
        {"Left", Reads([&] { return I{e->x()}; })},
        {"Top", Reads([&] { return I{e->y()}; })},
        {"Width", Reads([&] { return I{e->width()}; })},
        {"Height", Reads([&] { return I{e->height()}; })},
        // Its place in the tab order, which counts from 0 here.
        {"TabIndex", Reads([&] { return I(std::find(tabOrder.begin(), tabOrder.end(), e) - tabOrder.begin()); })},
        {"TabStop", Reads([&] { return (e->focusPolicy() & Qt::TabFocus) != 0; })},
        {"Enabled", Reads([&] { return e->isEnabled(); })},
        {"Visible", Reads([&] { return e->isVisible(); })},
        {"InitialParent", Reads([&] { return fw::String(e->parentWidget() == content ? "" : "another control"); })},
        {"Tooltip", Reads([&] { return e->toolTip().toStdString(); })},
        {"Multiline", Reads([&] { return e->lineWrapMode() != QTextEdit::NoWrap; })},
        {"ReadOnly", Reads([&] { return e->isReadOnly(); })},
        {"AllowTabs", Reads([&] { return !e->tabChangesFocus(); })},
        {"AllowStyledText", Reads([&] { return e->acceptRichText(); })},
        {"HasBorder", Reads([&] { return e->frameShape() != QFrame::NoFrame; })},
        {"HasHorizontalScrollbar", Reads([&] { return e->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff; })},
        {"HasVerticalScrollbar", Reads([&] { return e->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff; })},
        {"BackgroundColor", Reads([&] { return color(QPalette::Base); })},
        {"TextColor", Reads([&] { return color(QPalette::Text); })},
        // A hidden selection is drawn in no colour while the area is inactive.
        {"HideSelection",
         Reads([&] { return e->palette().color(QPalette::Inactive, QPalette::Highlight).alpha() == 0; })},
        // The window's two fonts: Courier, of fixed pitch, and Times.
        {"FontName", Reads([&] { return fw::String(QFontInfo(e->font()).fixedPitch() ? "Courier" : "Times"); })},
        {"FontSize", Reads([&] { return static_cast<float>(e->font().pixelSize()); })},
        {"Bold", Reads([&] { return e->font().bold(); })},
        {"Italic", Reads([&] { return e->font().italic(); })},
        {"Underline", Reads([&] { return e->font().underline(); })},
        // Its paragraphs, one a line, joined as the program joins lines.
        {"Value", Reads([&] {
           fw::String text;
           for (QTextBlock b = e->document()->begin(); b.isValid(); b = b.next()) {
             text += (b == e->document()->begin() ? "" : "\r\n") + b.text().toStdString();
           }
           return text;
         })},
        // The default alignment is the left one.
        {"TextAlignment",
         [&](const fw::PropertyValue& listed) {
           const auto shown = e->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask;
           const auto wanted = std::get<I>(listed);
           return shown == (wanted == fw::kAlignCentre  ? Qt::AlignHCenter
                            : wanted == fw::kAlignRight ? Qt::AlignRight
                                                        : Qt::AlignLeft);
         }},
        // The model's alone: the name it is found by, and rules no widget shows.
        {"Name", Reads([&] { return a->Name(); })},
        {"Index", Reads([&] { return a->Index(); })},
        {"Transparent", Reads([&] { return a->Transparent(); })},
        {"MaximumCharactersAllowed", Reads([&] { return a->MaximumCharactersAllowed(); })},
        {"ValidationMask", Reads([&] { return a->ValidationMask(); })},
    };
    ExpectShownOrKept(*a, list, area, name);
  }
}

TEST_F(DescriptionGui, TheAreasAreClippedByTheWindow) {
  auto window = Shown();
  QWidget* content = fw::test::WidgetOf(window)->centralWidget();
  QTextEdit* fld2 = EditorOf(window->DescribeFld2());
  ASSERT_NE(fld2, nullptr);
  // Only the part inside the window shows: one pixel off the left, top and
  // right edges.
  EXPECT_EQ(fld2->geometry().intersected(content->rect()), QRect(0, 0, 427, 475));
}

// ---- The text and its heading --------------------------------------------

void ExpectBoldHeadingSelected(const fw::Ref<class DescriptionWnd>& window) {
  auto area = window->DescribeFld2();
  const std::string text = area->Value();
  EXPECT_EQ(text, DescriptionWndLayout::DescriptionText());
  QTextEdit* editor = EditorOf(area);
  ASSERT_NE(editor, nullptr);
  const QTextCursor selection = editor->textCursor();
  EXPECT_EQ(selection.selectionStart(), 0);
  EXPECT_EQ(selection.selectionEnd(), 7) << "the selection goes past the heading";
  EXPECT_EQ(selection.selectedText(), "Quorvel");
  EXPECT_EQ(area->SelectionStart(), 0);
  EXPECT_EQ(area->SelectionLength(), DescriptionWndLayout::kHeadingLength);
  EXPECT_TRUE(area->SelectionBold());
  // Character by character: bold exactly the heading, the break after it
  // and everything later plain.
  QTextCursor probe(editor->document());
  const int end = editor->document()->characterCount() - 1;
  int bold = 0, firstPlainAfter = -1;
  for (int p = 0; p < end; ++p) {
    probe.setPosition(p + 1);
    const bool isBold = probe.charFormat().fontWeight() >= QFont::Bold;
    if (p < 7) {
      EXPECT_TRUE(isBold) << "heading character " << p << " is plain";
    } else if (isBold) {
      ++bold;
    } else if (firstPlainAfter < 0) {
      firstPlainAfter = p;
    }
  }
  EXPECT_EQ(bold, 0) << "characters after the heading are bold";
  EXPECT_EQ(firstPlainAfter, 7);
  // The line break after the heading: position 7 is the block's end.
  EXPECT_EQ(editor->document()->findBlock(0).length(), 8);
}

TEST_F(DescriptionGui, TheHeadingIsBoldAndSelectedAndNothingElse) {
  auto window = Shown();
  ExpectBoldHeadingSelected(window);
}

// Both areas hide their selection while they have no focus: the window
// opens with the focus in DescribeFld, and the selected heading shows
// highlighted only once DescribeFld2 has the focus, selected and bold all
// the while.
TEST_F(DescriptionGui, TheHeadingIsHighlightedOnlyWhileItsAreaHasTheFocus) {
  SelectionHighlight highlight;
  auto window = Shown();
  QTextEdit* fld = EditorOf(window->DescribeFld());
  QTextEdit* fld2 = EditorOf(window->DescribeFld2());
  ASSERT_TRUE(QTest::qWaitFor([&] { return fld->hasFocus(); })) << "the window opened without the focus in DescribeFld";
  EXPECT_FALSE(SelectionHighlight::Shows(fld2)) << "the heading is highlighted while DescribeFld has the focus";
  QTest::keyClick(fld, Qt::Key_Tab);
  ASSERT_TRUE(fld2->hasFocus());
  EXPECT_TRUE(SelectionHighlight::Shows(fld2)) << "the heading is not highlighted in the area that has the focus";
  ExpectBoldHeadingSelected(window);
  QTest::keyClick(fld2, Qt::Key_Tab);
  ASSERT_TRUE(fld->hasFocus());
  EXPECT_FALSE(SelectionHighlight::Shows(fld2));
  ExpectBoldHeadingSelected(window);
}

TEST_F(DescriptionGui, TypingPastingAndTabChangeNeitherFieldAndTabMovesTheFocusInOrder) {
  auto window = Shown();
  QApplication::clipboard()->setText("pasted");
  const std::string before = window->DescribeFld2()->Value();
  for (auto area : {window->DescribeFld(), window->DescribeFld2()}) {
    area->SetFocus();
    QWidget* editor = fw::test::WidgetOf(area);
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->hasFocus(); }));
    QTest::keyClicks(editor, "typed");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
  }
  EXPECT_EQ(window->DescribeFld()->Value(), "\r\n");
  EXPECT_EQ(window->DescribeFld2()->Value(), before);

  window->DescribeFld()->SetFocus();
  QTest::keyClick(fw::test::WidgetOf(window->DescribeFld()), Qt::Key_Tab);
  EXPECT_TRUE(window->DescribeFld2()->HasFocus());
  QTest::keyClick(fw::test::WidgetOf(window->DescribeFld2()), Qt::Key_Tab);
  EXPECT_TRUE(window->DescribeFld()->HasFocus()) << "Tab does not go round";
  EXPECT_EQ(window->DescribeFld()->Value(), "\r\n");
  EXPECT_EQ(window->DescribeFld2()->Value(), before);
  EXPECT_EQ(window->DescribeFld2()->Value().find('\t'), std::string::npos);
}

// ---- The hidden menu bar -------------------------------------------------

TEST_F(DescriptionGui, AltRevealsTheBarOverTheContentAndASecondAltOrEscapeHidesIt) {
  auto window = Shown();
  QMainWindow* frame = fw::test::WidgetOf(window);
  QWidget* content = frame->centralWidget();
  QWidget* fld2 = fw::test::WidgetOf(window->DescribeFld2());
  const QRect contentBefore = content->geometry(), fld2Before = fld2->geometry();
  const QSize frameBefore = frame->size();
  window->DescribeFld2()->SetFocus();
  QMenuBar* bar = FloatingBar(window);
  ASSERT_NE(bar, nullptr);

  for (Qt::Key closer : {Qt::Key_Alt, Qt::Key_Escape}) {
    SCOPED_TRACE(closer == Qt::Key_Alt ? "second Alt" : "Escape");
    Alt(window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible() && OpenPopup(); }));
    EXPECT_EQ(bar->geometry().topLeft(), content->geometry().topLeft()) << "the bar is not over the content";
    EXPECT_EQ(OpenPopup()->title(), "File");
    EXPECT_EQ(content->geometry(), contentBefore);
    EXPECT_EQ(fld2->geometry(), fld2Before);
    EXPECT_EQ(frame->size(), frameBefore);
    EXPECT_EQ(window->Width(), 427);
    EXPECT_EQ(window->Height(), 491);

    if (closer == Qt::Key_Alt) {
      Alt(window);
    } else {
      Key(window, Qt::Key_Escape);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible() && !OpenPopup(); }));
    EXPECT_EQ(content->geometry(), contentBefore);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->DescribeFld2()->HasFocus(); })) << "the focus did not come back";
  }
  // Alt with another key between reveals nothing.
  QWidget* target = KeyTarget(window);
  QTest::keyPress(target, Qt::Key_Alt);
  QTest::keyClick(target, Qt::Key_X, Qt::AltModifier);
  QTest::keyRelease(target, Qt::Key_Alt);
  QTest::qWait(20);
  EXPECT_FALSE(bar->isVisible());
}

using States = std::vector<std::pair<std::string, bool>>;

// The first `n` items of the menu `title` with their states.
States FirstStates(QMenuBar* bar, const QString& title, std::size_t n) {
  States states = testsupport::ItemStates(bar, title);
  states.resize(std::min(n, states.size()));
  return states;
}

TEST_F(DescriptionGui, MenuStatesFollowTheFrontWindow) {
  // The calculator in front; a click on each title refreshes its states.
  auto calculator = ControlWnd();
  calculator->Show();
  QMainWindow* calcFrame = fw::test::WidgetOf(calculator);
  ASSERT_TRUE(QTest::qWaitForWindowActive(calcFrame));
  QMenuBar* calcBar = calcFrame->menuBar();
  for (const char* title : {"File", "Window"}) {
    QMenu* menu = testsupport::OpenByClick(calcBar, title);
    ASSERT_NE(menu, nullptr) << title;
    ASSERT_TRUE(testsupport::CloseByEscape(menu)) << title;
  }
  EXPECT_EQ(FirstStates(calcBar, "File", 1), (States{{"Print", false}}));
  EXPECT_EQ(FirstStates(calcBar, "Window", 3),
            (States{{"Control", false}, {"Description", true}, {kAboutCaption, true}}));

  // The description window in front: its hidden bar, revealed by Alt.
  auto description = Shown();
  QMenuBar* bar = FloatingBar(description);
  ASSERT_NE(GoTo(description, "File", "Print"), nullptr) << "Print is not enabled";
  EXPECT_EQ(FirstStates(bar, "File", 1), (States{{"Print", true}}));
  Key(description, Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }));
  ASSERT_NE(GoTo(description, "Window", "Control"), nullptr);
  EXPECT_EQ(FirstStates(bar, "Window", 3), (States{{"Control", true}, {"Description", false}, {kAboutCaption, true}}));
  EXPECT_TRUE(description->ControlMenuItem()->Enabled());
  EXPECT_TRUE(description->AboutMenuItem()->Enabled());
  EXPECT_FALSE(description->DescriptionMenuItem()->Enabled());
  EXPECT_TRUE(description->Print()->Enabled());
  Key(description, Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }));
}

TEST_F(DescriptionGui, ControlByKeyboardShowsTheCalculatorBuildingItWhenClosed) {
  auto description = Shown();
  ASSERT_TRUE(fw::RuntimeGetImplicitWindow(ControlWnd::kClassName).IsNone());
  Choose(description, "Window", "Control");
  auto calculator = fw::RuntimeGetImplicitWindow(ControlWnd::kClassName);
  ASSERT_TRUE(calculator);
  EXPECT_TRUE(calculator->IsShown());

  // Open but behind: the same calculator comes to the front.
  description->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(description)));
  Choose(description, "Window", "Control");
  EXPECT_TRUE(fw::RuntimeGetImplicitWindow(ControlWnd::kClassName) == calculator);
  EXPECT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(calculator)));
  EXPECT_EQ(testsupport::OpenWindowsOf(ControlWnd::kClassName), 1);
  EXPECT_FALSE(description->_ControlMenuItem_Action());
}

TEST_F(DescriptionGui, AboutByKeyboardShowsTheAboutWindow) {
  auto description = Shown();
  Choose(description, "Window", kAboutCaption);
  auto about = fw::RuntimeGetImplicitWindow(AboutWnd::kClassName);
  ASSERT_TRUE(about);
  EXPECT_TRUE(about->IsShown());
  EXPECT_FALSE(description->_AboutMenuItem_Action());
}

TEST_F(DescriptionGui, ShortcutsWorkWhileTheBarIsHidden) {
  auto description = Shown();
  QMenuBar* bar = FloatingBar(description);
  description->ControlMenuItem()->Enabled(false);
  // Ctrl+Q refreshes the states with this window in front, then quits.
  QTest::keyClick(fw::test::WidgetOf(description->DescribeFld2()), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(description->ControlMenuItem()->Enabled()) << "the shortcut did not refresh the states";
  EXPECT_TRUE(fw::RuntimeQuitRequested());
  EXPECT_EQ(fw::RuntimeExit(), 0);
  EXPECT_FALSE(bar->isVisible());
}

// ---- Printing --------------------------------------------------------------

TEST_F(DescriptionGui, FilePrintByKeyboardDrawsOneBlockAPageAndYieldsOnceABlock) {
  struct Case {
    int blocks;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {0, {"printer 540"}},
      {1, {"printer 540", "DrawBlock 0 0 720 after 0 yields"}},
      {3,
       {"printer 540", "DrawBlock 0 0 720 after 0 yields", "NextPage", "DrawBlock 0 0 720 after 1 yields", "NextPage",
        "DrawBlock 0 0 720 after 2 yields"}},
  };
  auto description = Shown();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.blocks) + " blocks");
    log_.clear();
    dialogs_ = 0;
    SubstitutePrinting(c.blocks);
    const int yields = fw::test::BackgroundTaskCount();
    Choose(description, "File", "Print");
    EXPECT_EQ(dialogs_, 1);
    EXPECT_EQ(log_, c.log);
    EXPECT_EQ(fw::test::BackgroundTaskCount() - yields, c.blocks);
  }
  EXPECT_EQ(description->DescribeFld2()->Value(), DescriptionWndLayout::DescriptionText());
}

TEST_F(DescriptionGui, PrintingTwiceMakesTwoWholeJobsAndACancelledDialogPrintsNothing) {
  auto description = Shown();
  SubstitutePrinting(2);
  Choose(description, "File", "Print");
  Choose(description, "File", "Print");
  const std::vector<std::string> job = {"printer 540", "DrawBlock 0 0 720 after 0 yields", "NextPage",
                                        "DrawBlock 0 0 720 after 1 yields"};
  std::vector<std::string> twice = job;
  twice.insert(twice.end(), job.begin(), job.end());
  EXPECT_EQ(log_, twice);
  EXPECT_EQ(dialogs_, 2);

  log_.clear();
  fw::test::SetPrintDialog([this] {
    ++dialogs_;
    return fw::Ref<fw::Graphics>();
  });
  const int yields = fw::test::BackgroundTaskCount();
  Choose(description, "File", "Print");
  EXPECT_EQ(dialogs_, 3);
  EXPECT_FALSE(description->_Print_Action());
  EXPECT_TRUE(log_.empty()) << "a cancelled dialog printed";
  EXPECT_EQ(fw::test::BackgroundTaskCount(), yields);
  ExpectBoldHeadingSelected(description);
}

// ---- Item accessors ----------------------------------------------------------

TEST_F(DescriptionGui, EachItemAccessorFindsItsItemInTheWindowsOwnBar) {
  using Wnd = class DescriptionWnd;
  const std::vector<std::pair<std::string, std::function<fw::Ref<fw::MenuItem>(Wnd&)>>> accessors = {
      {"UntitledMenu2", &Wnd::UntitledMenu2},
      {"WindowMenu", &Wnd::WindowMenu},
      {"UntitledMenu4", &Wnd::UntitledMenu4},
      {"AboutTavik", &Wnd::AboutTavik},
      {"UntitledMenu5", &Wnd::UntitledMenu5},
      {"AboutMenuItem", &Wnd::AboutMenuItem},
      {"DescriptionMenuItem", &Wnd::DescriptionMenuItem},
      {"ControlMenuItem", &Wnd::ControlMenuItem},
      {"UntitledMenu0", &Wnd::UntitledMenu0},
      {"UntitledMenu6", &Wnd::UntitledMenu6},
      {"EditClear", &Wnd::EditClear},
      {"EditPaste", &Wnd::EditPaste},
      {"EditCopy", &Wnd::EditCopy},
      {"EditCut", &Wnd::EditCut},
      {"UntitledMenu1", &Wnd::UntitledMenu1},
      {"EditUndo", &Wnd::EditUndo},
      {"FileMenu", &Wnd::FileMenu},
      {"UntitledMenu7", &Wnd::UntitledMenu7},
      {"FileQuit", &Wnd::FileQuit},
      {"Print", &Wnd::Print},
      {"UntitledMenu3", &Wnd::UntitledMenu3},
  };
  auto d = DescriptionWnd();
  for (const auto& [name, accessor] : accessors) {
    auto item = accessor(*d);
    ASSERT_TRUE(item) << name;
    EXPECT_EQ(item->Name(), name);
    EXPECT_TRUE(item == Menu()->_Lookup(name)) << name << " is not the program's menu bar's item";
  }
  EXPECT_EQ(d->FileQuit()->ClassName(), "QuitMenuItem");
  EXPECT_EQ(d->AboutTavik()->ClassName(), "AppleMenuItem");

  // Each looks in the window's own bar: without one it fails loudly.
  d->MenuBar(fw::Ref<fw::MenuBar>());
  for (const auto& [name, accessor] : accessors) EXPECT_THROW(accessor(*d), fw::NilObjectException) << name;
  d->MenuBar(Menu());
}

// ---- The calculator's two ways in ------------------------------------------

TEST_F(DescriptionGui, InformationOpensTheWindowOnThePressAndShowsTheSameOneAgain) {
  auto calculator = ControlWnd();
  calculator->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(calculator)));
  QWidget* info = fw::test::WidgetOf(calculator->InfoBtn());
  ASSERT_TRUE(fw::RuntimeGetImplicitWindow(DescriptionWnd::kClassName).IsNone());

  QTest::mousePress(info, Qt::LeftButton, {}, info->rect().center());
  auto opened = fw::RuntimeGetImplicitWindow(DescriptionWnd::kClassName);
  ASSERT_TRUE(opened) << "nothing opened on the press";
  EXPECT_TRUE(opened->IsShown());
  QTest::mouseRelease(info, Qt::LeftButton, {}, info->rect().center());
  ExpectBoldHeadingSelected(fw::Cast<class DescriptionWnd>(opened));

  calculator->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(calculator)));
  QTest::mouseClick(info, Qt::LeftButton, {}, info->rect().center());
  EXPECT_TRUE(fw::RuntimeGetImplicitWindow(DescriptionWnd::kClassName) == opened);
  EXPECT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(opened)));

  // Window > Description from the calculator's bar: the same window again.
  calculator->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(calculator)));
  QMenu* menu = testsupport::OpenByClick(fw::test::WidgetOf(calculator)->menuBar(), "Window");
  ASSERT_NE(menu, nullptr);
  QAction* item = testsupport::ActionCaptioned(menu, "Description");
  ASSERT_TRUE(item && item->isEnabled());
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
  EXPECT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(opened)));
  EXPECT_EQ(testsupport::OpenWindowsOf(DescriptionWnd::kClassName), 1);
  EXPECT_FALSE(calculator->_DescriptionMenuItem_Action());
  EXPECT_FALSE(calculator->InfoBtn_MouseDown(calculator->InfoBtn(), 0, 0));
}

TEST_F(DescriptionGui, AWindowTheUserClosedIsBuiltAnewCompleteAndBold) {
  auto first = Shown();
  fw::test::WidgetOf(first)->close();
  EXPECT_FALSE(first->IsOpen());
  EXPECT_TRUE(fw::RuntimeGetImplicitWindow(DescriptionWnd::kClassName).IsNone());
  fw::test::FlushDeletes();

  auto second = DescriptionWnd();
  EXPECT_FALSE(second == first);
  EXPECT_FALSE(second->IsShown());
  second->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(second)));
  ExpectBoldHeadingSelected(second);
}

TEST_F(DescriptionGui, ClosingTheCalculatorWhileTheDescriptionIsOpenQuitsWithZero) {
  auto calculator = ControlWnd();
  calculator->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(calculator)));
  QWidget* info = fw::test::WidgetOf(calculator->InfoBtn());
  QTest::mouseClick(info, Qt::LeftButton, {}, info->rect().center());
  ASSERT_TRUE(fw::RuntimeGetImplicitWindow(DescriptionWnd::kClassName));
  fw::test::WidgetOf(calculator)->close();
  EXPECT_TRUE(fw::RuntimeQuitRequested());
  EXPECT_EQ(fw::RuntimeExit(), 0);
}

}  // namespace
