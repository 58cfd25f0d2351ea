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
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/Printing.h"
#include "info/AboutWnd.h"
#include "info/DescriptionWnd.h"
#include "info/DescriptionWndLayout.h"
#include "shell/Menu.h"
#include "tests/support/GuiTest.h"
#include "tests/support/Highlight.h"

namespace {

using I = std::int64_t;

QTextEdit* EditorOf(const fw::Ref<fw::TextArea>& area) { return qobject_cast<QTextEdit*>(fw::test::WidgetOf(area)); }

// The bar that floats over a window whose menu bar is hidden.
QMenuBar* FloatingBar(const fw::Ref<fw::Window>& window) { return fw::test::WidgetOf(window)->findChild<QMenuBar*>(); }

QMenu* OpenPopup() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

int OpenCount(const char* className) {
  int n = 0;
  for (const auto& w : fw::RuntimeOpenWindows()) n += w->ClassName() == className;
  return n;
}

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

// A window with one multi-line area, styled or plain.
class AreaWnd : public fw::Window {
 public:
  explicit AreaWnd(bool styled) : styled_(styled) {}
  void CreateControls() override {
    auto area = __New<fw::TextArea>();
    area->Constructor();
    _AddControl("Area", area);
    fw::RuntimeMassPropertySetter(area, {{"Multiline", true}, {"AllowStyledText", styled_}, {"Width", I{200}}});
  }
  fw::Ref<fw::TextArea> Area() { return fw::Cast<fw::TextArea>(_ControlByName("Area")); }
  std::string ClassName() const override { return "AreaWnd"; }

 private:
  bool styled_;
};

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
  auto window = fw::New<AreaWnd>(true);
  window->Constructor();
  auto area = window->Area();
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
  auto plain = fw::New<AreaWnd>(false);
  plain->Constructor();
  plain->Area()->Value("abc");
  plain->Area()->SelectionStart(0);
  plain->Area()->SelectionLength(2);
  plain->Area()->SelectionBold(true);
  EXPECT_EQ(BoldMap(plain->Area()), "---");
}

// ---- The window and its settings -----------------------------------------

TEST_F(DescriptionGui, ANewWindowIsHiddenUntilShownAndThenOneFixedWindowWithoutMenuBar) {
  auto window = DescriptionWnd();
  EXPECT_TRUE(window->IsOpen());
  EXPECT_FALSE(window->IsShown());
  EXPECT_TRUE(DescriptionWnd() == window) << "a second call made a second window";

  window->Show();
  QMainWindow* frame = fw::test::WidgetOf(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  EXPECT_EQ(frame->windowTitle(), "Description");
  QWidget* content = frame->centralWidget();
  EXPECT_EQ(content->size(), QSize(427, 491));
  EXPECT_EQ(content->minimumSize(), content->maximumSize()) << "resizable";
  EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(frame->menuWidget(), nullptr);
  ASSERT_NE(FloatingBar(window), nullptr);
  EXPECT_FALSE(FloatingBar(window)->isVisible());
  EXPECT_TRUE(window->MenuBar() == Menu()) << "the window's own bar is not the program's one menu bar";
  EXPECT_EQ(OpenCount(DescriptionWnd::kClassName), 1);
}

// Reads a key back through the object's getters, or as kept.
using Getters = std::map<std::string, std::function<fw::PropertyValue()>>;

void ExpectApplied(const fw::Configurable& target, const fw::PropertyList& list, const Getters& getters,
                   const std::string& what) {
  for (const auto& [key, value] : list) {
    SCOPED_TRACE(what + "." + key);
    if (auto it = getters.find(key); it != getters.end()) {
      EXPECT_TRUE(it->second() == value);
    } else {
      const fw::PropertyValue* kept = target.Kept(key);
      ASSERT_NE(kept, nullptr) << "neither read back nor kept";
      EXPECT_TRUE(*kept == value);
    }
  }
}

TEST_F(DescriptionGui, BothListsAreAppliedKeyByKey) {
  auto w = DescriptionWnd();
  const Getters window = {
      {"Width", [&] { return fw::PropertyValue(w->Width()); }},
      {"Height", [&] { return fw::PropertyValue(w->Height()); }},
      {"MinimumWidth", [&] { return fw::PropertyValue(w->MinimumWidth()); }},
      {"MinimumHeight", [&] { return fw::PropertyValue(w->MinimumHeight()); }},
      {"MaximumWidth", [&] { return fw::PropertyValue(w->MaximumWidth()); }},
      {"MaximumHeight", [&] { return fw::PropertyValue(w->MaximumHeight()); }},
      {"Type", [&] { return fw::PropertyValue(w->Type()); }},
      {"Title", [&] { return fw::PropertyValue(w->Title()); }},
      {"HasCloseButton", [&] { return fw::PropertyValue(w->HasCloseButton()); }},
      {"HasMaximizeButton", [&] { return fw::PropertyValue(w->HasMaximizeButton()); }},
      {"HasMinimizeButton", [&] { return fw::PropertyValue(w->HasMinimizeButton()); }},
      {"Resizeable", [&] { return fw::PropertyValue(w->Resizeable()); }},
      {"FullScreen", [&] { return fw::PropertyValue(w->FullScreen()); }},
      {"DefaultLocation", [&] { return fw::PropertyValue(w->DefaultLocation()); }},
      {"Visible", [&] { return fw::PropertyValue(w->Visible()); }},
      {"HasBackgroundColor", [&] { return fw::PropertyValue(w->HasBackgroundColor()); }},
      {"BackgroundColor", [&] { return fw::PropertyValue(w->BackgroundColor()); }},
      {"MenuBarVisible", [&] { return fw::PropertyValue(w->MenuBarVisible()); }},
      {"Left", [&] { return fw::PropertyValue(w->Left()); }},
      {"Top", [&] { return fw::PropertyValue(w->Top()); }},
  };
  ExpectApplied(*w, DescriptionWndLayout::Lists().WindowList(), window, "DescriptionWnd");

  for (const auto& [name, list] : DescriptionWndLayout::Lists().ControlLists()) {
    auto a = fw::Cast<fw::TextArea>(w->_ControlByName(name));
    ASSERT_TRUE(a) << name;
    // Value is left out here: the heading test reads it after the bold step.
    const Getters area = {
        {"Name", [&] { return fw::PropertyValue(a->Name()); }},
        {"Index", [&] { return fw::PropertyValue(a->Index()); }},
        {"Left", [&] { return fw::PropertyValue(a->Left()); }},
        {"Top", [&] { return fw::PropertyValue(a->Top()); }},
        {"Width", [&] { return fw::PropertyValue(a->Width()); }},
        {"Height", [&] { return fw::PropertyValue(a->Height()); }},
        {"TabIndex", [&] { return fw::PropertyValue(a->TabIndex()); }},
        {"TabStop", [&] { return fw::PropertyValue(a->TabStop()); }},
        {"Enabled", [&] { return fw::PropertyValue(a->Enabled()); }},
        {"Multiline", [&] { return fw::PropertyValue(a->Multiline()); }},
        {"TextColor", [&] { return fw::PropertyValue(a->TextColor()); }},
        {"Transparent", [&] { return fw::PropertyValue(a->Transparent()); }},
        {"Visible", [&] { return fw::PropertyValue(a->Visible()); }},
        {"Bold", [&] { return fw::PropertyValue(a->Bold()); }},
        {"Italic", [&] { return fw::PropertyValue(a->Italic()); }},
        {"Underline", [&] { return fw::PropertyValue(a->Underline()); }},
        {"ReadOnly", [&] { return fw::PropertyValue(a->ReadOnly()); }},
        {"InitialParent", [&] { return fw::PropertyValue(a->InitialParent()); }},
        {"BackgroundColor", [&] { return fw::PropertyValue(a->BackgroundColor()); }},
        {"HasBorder", [&] { return fw::PropertyValue(a->HasBorder()); }},
        {"Tooltip", [&] { return fw::PropertyValue(a->Tooltip()); }},
        {"HasHorizontalScrollbar", [&] { return fw::PropertyValue(a->HasHorizontalScrollbar()); }},
        {"HasVerticalScrollbar", [&] { return fw::PropertyValue(a->HasVerticalScrollbar()); }},
        {"AllowStyledText", [&] { return fw::PropertyValue(a->AllowStyledText()); }},
        {"FontName", [&] { return fw::PropertyValue(a->FontName()); }},
        {"FontSize", [&] { return fw::PropertyValue(a->FontSize()); }},
        {"Value", [&] { return fw::PropertyValue(a->Value()); }},
        {"AllowTabs", [&] { return fw::PropertyValue(a->AllowTabs()); }},
        {"TextAlignment", [&] { return fw::PropertyValue(a->TextAlignment()); }},
        {"HideSelection", [&] { return fw::PropertyValue(a->HideSelection()); }},
        {"MaximumCharactersAllowed", [&] { return fw::PropertyValue(a->MaximumCharactersAllowed()); }},
        {"ValidationMask", [&] { return fw::PropertyValue(a->ValidationMask()); }},
    };
    ExpectApplied(*a, list, area, name);
  }
}

TEST_F(DescriptionGui, TheAreasShowTheirSettingsClippedByTheWindow) {
  auto window = Shown();
  QMainWindow* frame = fw::test::WidgetOf(window);
  QTextEdit* fld = EditorOf(window->DescribeFld());
  QTextEdit* fld2 = EditorOf(window->DescribeFld2());
  ASSERT_TRUE(fld && fld2);
  EXPECT_EQ(fld->geometry(), QRect(-1, -1, 427, 478));
  EXPECT_EQ(fld2->geometry(), QRect(-1, -1, 429, 476));
  // Only the part inside the window shows: one pixel off the left, top and
  // (for DescribeFld2) right edges.
  EXPECT_EQ(fld2->geometry().intersected(frame->centralWidget()->rect()), QRect(0, 0, 427, 475));
  EXPECT_EQ(fld2->parentWidget(), frame->centralWidget()) << "not clipped by the content";
  EXPECT_TRUE(fld->isReadOnly() && fld2->isReadOnly());
  EXPECT_EQ(fld->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_EQ(fld2->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(fld2->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_TRUE(QFontInfo(fld->font()).fixedPitch());
  EXPECT_EQ(fld->font().pixelSize(), 10);
  EXPECT_FALSE(QFontInfo(fld2->font()).fixedPitch());
  EXPECT_EQ(fld2->font().pixelSize(), 12);
  EXPECT_EQ(fld2->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  // The text shows as its 14 lines, one paragraph each.
  EXPECT_EQ(fld2->document()->blockCount(), 14);
  EXPECT_EQ(fld->document()->blockCount(), 2);
  EXPECT_EQ(window->DescribeFld()->Value(), "\r\n");
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

// The enabled states of the actions of the menu `title`, in menu order.
std::vector<std::pair<std::string, bool>> States(QMenuBar* bar, const QString& title) {
  std::vector<std::pair<std::string, bool>> states;
  for (QAction* top : bar->actions()) {
    if (!top->menu() || top->text() != title) continue;
    for (QAction* action : top->menu()->actions()) {
      if (!action->isSeparator()) states.emplace_back(action->text().toStdString(), action->isEnabled());
    }
  }
  return states;
}

// Opens the menu `title` of a shown bar with a click, so that it refreshes.
void OpenByClick(QMenuBar* bar, const QString& title) {
  for (QAction* top : bar->actions()) {
    if (!top->menu() || top->text() != title) continue;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return top->menu()->isVisible(); }));
    QTest::keyClick(top->menu(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !top->menu()->isVisible(); }));
    return;
  }
  FAIL() << "no menu " << title.toStdString();
}

TEST_F(DescriptionGui, MenuStatesFollowTheFrontWindow) {
  using States_ = std::vector<std::pair<std::string, bool>>;
  // The calculator in front.
  auto calculator = ControlWnd();
  calculator->Show();
  QMainWindow* calcFrame = fw::test::WidgetOf(calculator);
  ASSERT_TRUE(QTest::qWaitForWindowActive(calcFrame));
  QMenuBar* calcBar = calcFrame->menuBar();
  OpenByClick(calcBar, "File");
  EXPECT_EQ(States(calcBar, "File")[0], (std::pair<std::string, bool>{"Print", false}));
  OpenByClick(calcBar, "Window");
  States_ window = States(calcBar, "Window");
  ASSERT_GE(window.size(), 3u);
  EXPECT_EQ(window[0], (std::pair<std::string, bool>{"Control", false}));
  EXPECT_EQ(window[1], (std::pair<std::string, bool>{"Description", true}));
  EXPECT_EQ(window[2], (std::pair<std::string, bool>{kAboutCaption, true}));

  // The description window in front: its hidden bar, revealed by Alt.
  auto description = Shown();
  QMenuBar* bar = FloatingBar(description);
  ASSERT_NE(GoTo(description, "File", "Print"), nullptr) << "Print is not enabled";
  EXPECT_EQ(States(bar, "File")[0], (std::pair<std::string, bool>{"Print", true}));
  Key(description, Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }));
  ASSERT_NE(GoTo(description, "Window", "Control"), nullptr);
  window = States(bar, "Window");
  ASSERT_GE(window.size(), 3u);
  EXPECT_EQ(window[0], (std::pair<std::string, bool>{"Control", true}));
  EXPECT_EQ(window[1], (std::pair<std::string, bool>{"Description", false}));
  EXPECT_EQ(window[2], (std::pair<std::string, bool>{kAboutCaption, true}));
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
  EXPECT_EQ(OpenCount(ControlWnd::kClassName), 1);
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
  auto d = DescriptionWnd();
  const std::vector<std::pair<std::string, std::function<fw::Ref<fw::MenuItem>()>>> accessors = {
      {"UntitledMenu2", [&] { return d->UntitledMenu2(); }},
      {"WindowMenu", [&] { return d->WindowMenu(); }},
      {"UntitledMenu4", [&] { return fw::Ref<fw::MenuItem>(d->UntitledMenu4()); }},
      {"AboutTavik", [&] { return fw::Ref<fw::MenuItem>(d->AboutTavik()); }},
      {"UntitledMenu5", [&] { return d->UntitledMenu5(); }},
      {"AboutMenuItem", [&] { return d->AboutMenuItem(); }},
      {"DescriptionMenuItem", [&] { return d->DescriptionMenuItem(); }},
      {"ControlMenuItem", [&] { return d->ControlMenuItem(); }},
      {"UntitledMenu0", [&] { return d->UntitledMenu0(); }},
      {"UntitledMenu6", [&] { return d->UntitledMenu6(); }},
      {"EditClear", [&] { return d->EditClear(); }},
      {"EditPaste", [&] { return d->EditPaste(); }},
      {"EditCopy", [&] { return d->EditCopy(); }},
      {"EditCut", [&] { return d->EditCut(); }},
      {"UntitledMenu1", [&] { return d->UntitledMenu1(); }},
      {"EditUndo", [&] { return d->EditUndo(); }},
      {"FileMenu", [&] { return d->FileMenu(); }},
      {"UntitledMenu7", [&] { return d->UntitledMenu7(); }},
      {"FileQuit", [&] { return fw::Ref<fw::MenuItem>(d->FileQuit()); }},
      {"Print", [&] { return d->Print(); }},
      {"UntitledMenu3", [&] { return d->UntitledMenu3(); }},
  };
  for (const auto& [name, accessor] : accessors) {
    auto item = accessor();
    ASSERT_TRUE(item) << name;
    EXPECT_EQ(item->Name(), name);
    EXPECT_TRUE(item == Menu()->_Lookup(name)) << name << " is not the program's menu bar's item";
  }
  EXPECT_EQ(d->FileQuit()->ClassName(), "QuitMenuItem");
  EXPECT_EQ(d->AboutTavik()->ClassName(), "AppleMenuItem");

  // Without a bar of its own the accessors fail loudly.
  d->MenuBar(fw::Ref<fw::MenuBar>());
  EXPECT_THROW(d->Print(), fw::NilObjectException);
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
  QMenuBar* bar = fw::test::WidgetOf(calculator)->menuBar();
  QMenu* menu = nullptr;
  for (QAction* top : bar->actions()) {
    if (top->menu() && top->text() == "Window") menu = top->menu();
  }
  ASSERT_NE(menu, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
  QAction* item = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->text() == "Description") item = action;
  }
  ASSERT_TRUE(item && item->isEnabled());
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
  EXPECT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(opened)));
  EXPECT_EQ(OpenCount(DescriptionWnd::kClassName), 1);
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
