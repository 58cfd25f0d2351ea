// Framework behaviour of controls and windows that the program relies on:
// property lists refuse unknown keys and mistyped values, event binding
// checks signature texts, HideSelection decides when a selection is drawn,
// and the logo pictures are loaded once and looked up again while they are
// missing.
//
// The logo caches live for the whole process, so each logo case is its own
// test (ctest runs every test in a process of its own).
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/Delegate.h"
#include "framework/Timer.h"
#include "info/AboutWnd.h"
#include "shell/Logos.h"
#include "tests/support/GuiTest.h"
#include "tests/support/Highlight.h"
#include "tests/support/TestWindows.h"

namespace {

using fw::PropertyList;
using fw::test::WidgetOf;
using I = std::int64_t;

class ControlsTest : public GuiTest {};

// ---- Property lists -----------------------------------------------------------

TEST_F(ControlsTest, PropertyListErrorsNameTheKeyAndTheClass) {
  auto window = ControlWnd();
  auto about = AboutWnd();
  const struct {
    fw::Configurable* target;
    PropertyList list;
    const char* key;
    const char* className;
  } cases[] = {
      {window.get(), {{"Titel", fw::String("x")}}, "Titel", "Window"},
      {window.get(), {{"Width", 680.0}}, "Width", "Window"},
      {window.get(), {{"Resizeable", I{0}}}, "Resizeable", "Window"},
      {window->FeetFld().get(), {{"MaximumCharacterAllowed", I{2}}}, "MaximumCharacterAllowed", "TextArea"},
      {window->FeetFld().get(),
       {{"MaximumCharactersAllowed", fw::String("2")}},
       "MaximumCharactersAllowed",
       "TextArea"},
      {window->FeetFld().get(), {{"FontSize", 14.0}}, "FontSize", "TextArea"},  // a Double, not a Single
      {window->BMIFld().get(), {{"Caption", fw::String("x")}}, "Caption", "Label"},
      {window->BMIFld().get(), {{"TextColor", I{0}}}, "TextColor", "Label"},
      {window->CalculateBtn().get(), {{"Defualt", true}}, "Defualt", "PushButton"},
      {window->Canvas3().get(), {{"Backdrop", fw::String("BMIsmall.png")}}, "Backdrop", "Canvas"},
      {window->RoundRectangle1().get(), {{"FillColour", fw::Color{}}}, "FillColour", "RoundRectangle"},
      {window->RoundRectangle1().get(), {{"CornerWidth", 16.0f}}, "CornerWidth", "RoundRectangle"},
      {about->Timer1().get(), {{"Period", 4000.0}}, "Period", "Timer"},
      {about->Timer1().get(), {{"RunMod", I{1}}}, "RunMod", "Timer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.className) + "." + c.key);
    try {
      fw::RuntimeMassPropertySetter(*c.target, c.list);
      ADD_FAILURE() << "no exception";
    } catch (const fw::RuntimeException& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(c.key), std::string::npos) << message;
      EXPECT_NE(message.find(c.className), std::string::npos) << message;
    }
  }
  // Nothing was set by the refused values.
  EXPECT_EQ(window->Width(), 680);
  EXPECT_EQ(window->FeetFld()->MaximumCharactersAllowed(), 1);
  EXPECT_EQ(about->Timer1()->Period(), 4000);
}

TEST_F(ControlsTest, PropertyListSetsKeysInOrderUpToTheBadOne) {
  auto window = ControlWnd();
  const PropertyList list = {{"Title", fw::String("First")}, {"Bogus", I{1}}, {"Title", fw::String("Second")}};
  EXPECT_THROW(fw::RuntimeMassPropertySetter(*window, list), fw::RuntimeException);
  EXPECT_EQ(window->Title(), "First");
  EXPECT_EQ(WidgetOf(window)->windowTitle(), QStringLiteral("First"));
}

// A window whose layout has a typo, and one whose control list has a value
// of the wrong type: neither is left open.
class MisspeltWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "MisspeltWnd.MisspeltWnd";
  void Layout() override { fw::RuntimeMassPropertySetter(*this, {{"Width", I{200}}, {"Heigth", I{100}}}); }
  std::string ClassName() const override { return kClassName; }
};

class MistypedWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "MistypedWnd.MistypedWnd";
  void CreateControls() override {
    {
      auto button = __New<fw::PushButton>();
      button->Constructor();
      _AddControl("OkBtn", button);
    }
    fw::RuntimeMassPropertySetter(_ControlByName("OkBtn"), {{"Name", fw::String("OkBtn")}, {"Caption", I{3}}});
  }
  std::string ClassName() const override { return kClassName; }
};

template <class W>
void ExpectWindowRefused(const char* key, const char* className) {
  SCOPED_TRACE(W::kClassName);
  try {
    fw::RuntimeImplicitWindow<W>();
    ADD_FAILURE() << "no exception";
  } catch (const fw::RuntimeException& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(key), std::string::npos) << message;
    EXPECT_NE(message.find(className), std::string::npos) << message;
  }
  EXPECT_FALSE(fw::RuntimeGetImplicitWindow(W::kClassName));
}

TEST_F(ControlsTest, AWindowWhoseListsAreWrongIsNotLeftOpen) {
  ExpectWindowRefused<MisspeltWnd>("Heigth", "Window");
  ExpectWindowRefused<MistypedWnd>("Caption", "PushButton");
  EXPECT_TRUE(fw::RuntimeOpenWindows().empty());
}

// ---- Event binding ------------------------------------------------------------

using KeyHandler = std::function<bool(fw::Ref<fw::TextArea>, fw::String)>;
using ActionHandler = std::function<void(fw::Ref<fw::PushButton>)>;

TEST_F(ControlsTest, EventBindingRefusesADelegateOfAnotherSignature) {
  auto window = ControlWnd();
  QTextEdit* feet = qobject_cast<QTextEdit*>(WidgetOf(window->FeetFld()));
  std::vector<std::string> seen;
  const KeyHandler record = [&seen](fw::Ref<fw::TextArea>, fw::String key) {
    seen.push_back(key);
    return true;
  };
  const ActionHandler noAction = [](fw::Ref<fw::PushButton>) {};

  const struct {
    const char* what;
    fw::Ref<fw::Control> control;
    int event;
    fw::Ref<fw::Delegate> delegate;
  } refused[] = {
      {"KeyDown without its result", window->FeetFld(), fw::kKeyDown,
       fw::RuntimeCreateDelegate("( TextArea, String )", record)},
      {"KeyDown spelt without blanks", window->FeetFld(), fw::kKeyDown,
       fw::RuntimeCreateDelegate("(TextArea, String) as Boolean", record)},
      {"KeyDown with the menu handler's text", window->FeetFld(), fw::kKeyDown,
       fw::RuntimeCreateDelegate("(  ) as Boolean", record)},
      {"a text area has no Action", window->FeetFld(), fw::kAction,
       fw::RuntimeCreateDelegate("( PushButton )", noAction)},
      {"Action with MouseDown's text", window->CalculateBtn(), fw::kAction,
       fw::RuntimeCreateDelegate("( PushButton, Integer, Integer ) as Boolean", noAction)},
      {"a button has no KeyDown", window->CalculateBtn(), fw::kKeyDown,
       fw::RuntimeCreateDelegate("( TextArea, String ) as Boolean", record)},
      {"a label has no events", window->BMIFld(), fw::kMouseDown,
       fw::RuntimeCreateDelegate("( PushButton, Integer, Integer ) as Boolean", noAction)},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.what);
    EXPECT_THROW(fw::RuntimeAddEventHandler(r.control, r.event, r.delegate), fw::RuntimeException);
  }
  EXPECT_THROW(fw::RuntimeAddEventHandler(window->FeetFld(), fw::kKeyDown, nullptr), fw::NilObjectException);

  // The program's key filter is still the one bound: a letter beeps once.
  QTest::keyClick(feet, Qt::Key_X);
  EXPECT_EQ(BeepsSinceStart(), 1);
  EXPECT_TRUE(seen.empty());

  // A delegate with the event's text replaces it, and real keys reach it.
  fw::RuntimeAddEventHandler(window->FeetFld(), fw::kKeyDown,
                             fw::RuntimeCreateDelegate("( TextArea, String ) as Boolean", record));
  QTest::keyClicks(feet, "5x");
  EXPECT_EQ(seen, (std::vector<std::string>{"5", "x"}));
  EXPECT_EQ(feet->toPlainText(), QString());  // the handler refused both
  EXPECT_EQ(BeepsSinceStart(), 1);
}

// ---- Keys ---------------------------------------------------------------------

// A window with one field, recording the keys that reach the window itself.
class KeyWnd : public testsupport::OneAreaWnd {
 public:
  KeyWnd()
      : OneAreaWnd({{"Width", I{200}}, {"Height", I{100}}},
                   {{"Left", I{10}}, {"Top", I{10}}, {"Width", I{100}}, {"Height", I{22}}}) {}
  bool Event_KeyDown(fw::String key) override {
    keys.push_back(key);
    return false;
  }
  std::vector<std::string> keys;
};

// Keys that type nothing still raise KeyDown, with an empty text; a
// modifier alone raises none.
TEST_F(ControlsTest, KeysWithoutTextRaiseKeyDownWithAnEmptyText) {
  auto window = fw::New<KeyWnd>();
  window->Constructor();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(window)));
  QTextEdit* field = qobject_cast<QTextEdit*>(WidgetOf(window->Area()));
  std::vector<std::string> seen;
  fw::RuntimeAddEventHandler(window->Area(), fw::kKeyDown,
                             fw::RuntimeCreateDelegate("( TextArea, String ) as Boolean",
                                                       KeyHandler([&seen](fw::Ref<fw::TextArea>, fw::String key) {
                                                         seen.push_back(key);
                                                         return false;
                                                       })));
  QTest::keyClicks(field, "12");
  seen.clear();

  const struct {
    const char* name;
    Qt::Key key;
  } keys[] = {
      {"F1", Qt::Key_F1}, {"F5", Qt::Key_F5}, {"F12", Qt::Key_F12}, {"Insert", Qt::Key_Insert}, {"Menu", Qt::Key_Menu}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k.name);
    window->keys.clear();
    QTest::keyClick(WidgetOf(window), k.key);
    EXPECT_EQ(window->keys, std::vector<std::string>{""});

    seen.clear();
    QTest::keyClick(field, k.key);
    EXPECT_EQ(seen, std::vector<std::string>{""});
    EXPECT_EQ(field->toPlainText(), QString("12"));
  }

  seen.clear();
  window->keys.clear();
  QTest::keyClick(field, Qt::Key_Shift);
  QTest::keyClick(WidgetOf(window), Qt::Key_Control);
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(window->keys.empty());
}

// Whatever the modifiers, a key whose text the editor puts in meets the
// limit and the mask first: Super, Ctrl with Alt (AltGr's text), Ctrl with
// a keypad key, format and private-use characters, a character beyond the
// Basic Multilingual Plane, and the Tab key in an area that takes tabs. Ctrl
// alone is a shortcut and still works.
TEST_F(ControlsTest, AnyKeyThatPutsTextInMeetsTheLimitAndTheMask) {
  auto window =
      testsupport::MakeOneAreaWnd({{"Width", I{200}}, {"Height", I{100}}}, {{"Left", I{10}},
                                                                            {"Top", I{10}},
                                                                            {"Width", I{100}},
                                                                            {"Height", I{22}},
                                                                            {"AllowTabs", true},
                                                                            {"MaximumCharactersAllowed", I{2}}});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(window)));
  auto area = window->Area();
  QTextEdit* editor = qobject_cast<QTextEdit*>(WidgetOf(area));
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const struct {
    const char* name;
    const char* mask;
    const char* before;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    const char* after;
  } cases[] = {
      {"Super+7 with room", "##", "1", Qt::Key_7, Qt::MetaModifier, "7", "17"},
      {"Super+7", "##", "12", Qt::Key_7, Qt::MetaModifier, "7", "12"},
      {"Ctrl+keypad 7 with room", "##", "1", Qt::Key_7, ctrl | Qt::KeypadModifier, "7", "17"},
      {"Ctrl+keypad 7", "##", "12", Qt::Key_7, ctrl | Qt::KeypadModifier, "7", "12"},
      {"Ctrl+Alt+E", "##", "1", Qt::Key_E, ctrl | Qt::AltModifier, "\xe2\x82\xac", "1"},
      {"Ctrl+Shift with a joiner", "##", "1", Qt::Key_unknown, ctrl | Qt::ShiftModifier, "\xe2\x80\x8d", "1"},
      {"a joiner", "", "12", Qt::Key_unknown, Qt::NoModifier, "\xe2\x80\x8d", "12"},
      {"a private-use character", "", "12", Qt::Key_unknown, Qt::NoModifier, "\xee\x80\x80", "12"},
      {"a character beyond the plane", "", "12", Qt::Key_unknown, Qt::NoModifier, "\xf0\x9f\x98\x80", "12"},
      {"Tab", "", "12", Qt::Key_Tab, Qt::NoModifier, "\t", "12"},
      {"Tab with room", "", "1", Qt::Key_Tab, Qt::NoModifier, "\t", "1\t"},
      {"Ctrl+A, then 3", "##", "12", Qt::Key_A, ctrl, "a", "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    area->ValidationMask(c.mask);
    area->Value(c.before);
    const QString text = QString::fromUtf8(c.text);
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, text);
    QApplication::sendEvent(editor, &press);
    QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, text);
    QApplication::sendEvent(editor, &release);
    if (c.key == Qt::Key_A) QTest::keyClicks(editor, "3");
    EXPECT_EQ(area->Value(), c.after);
  }
}

// ---- HideSelection ---------------------------------------------------------------

// A calculator field (HideSelection True in its list) draws its selection
// only while it has the focus; with False it draws it also without. Either
// way the selection itself stays as it was.
TEST_F(ControlsTest, HideSelectionDrawsTheSelectionOnlyWhileTheAreaHasTheFocus) {
  SelectionHighlight highlight;
  auto window = ControlWnd();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(window)));
  // On its first activation the calculator makes the About window and hides
  // it; the offscreen platform leaves the activation with the hidden window.
  WidgetOf(window)->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(WidgetOf(window)));
  auto feet = window->FeetFld();
  QTextEdit* editor = qobject_cast<QTextEdit*>(WidgetOf(feet));
  QTextEdit* inches = qobject_cast<QTextEdit*>(WidgetOf(window->InchFld()));
  EXPECT_TRUE(feet->HideSelection());
  feet->Value("5");
  feet->SelectionStart(0);
  feet->SelectionLength(1);
  for (bool hide : {true, false, true}) {
    SCOPED_TRACE(hide ? "HideSelection True" : "HideSelection False");
    feet->HideSelection(hide);
    feet->SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->hasFocus(); }));
    EXPECT_TRUE(SelectionHighlight::Shows(editor)) << "not drawn with the focus";
    QTest::keyClick(editor, Qt::Key_Tab);
    ASSERT_TRUE(inches->hasFocus());
    EXPECT_EQ(SelectionHighlight::Shows(editor), !hide);
    EXPECT_EQ(feet->SelectionStart(), 0);
    EXPECT_EQ(feet->SelectionLength(), 1);
    EXPECT_EQ(feet->Value(), "5");
  }
}

// ---- The logo pictures -----------------------------------------------------------

const std::filesystem::path kResources = std::filesystem::path(__FILE__).parent_path().parent_path() / "resources";

class LogoTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
    fw::test::SetResourceDirs({dir_.path().toStdString()});
  }
  void TearDown() override {
    GuiTest::TearDown();
    fw::test::SetTrace(nullptr);
    fw::test::ClearFaults();
  }

  void CopyLogo(const char* name) {
    const QString from = QString::fromStdString((kResources / name).string());
    ASSERT_TRUE(QFile::exists(from)) << from.toStdString();
    ASSERT_TRUE(QFile::copy(from, dir_.filePath(QString::fromLatin1(name))));
  }
  void WriteFile(const char* name, const QByteArray& bytes) {
    QFile file(dir_.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  // Counts the picture lookups from now on.
  void CountLookups() {
    fw::test::SetTrace([this](const std::string& step) {
      if (step == "RuntimeGetPictureFromResourceManager") ++lookups_;
    });
  }
  static bool Blank(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    if (image.isNull()) return false;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != image.pixel(0, 0)) return false;
      }
    }
    return true;
  }
  void ExpectCalculatorWorks(const fw::Ref<class ControlWnd>& window) {
    QTest::keyClicks(WidgetOf(window->FeetFld()), "5");
    QTest::keyClicks(WidgetOf(window->InchFld()), "10");
    QTest::keyClicks(WidgetOf(window->WeightFld()), "160");
    QTest::mouseClick(qobject_cast<QPushButton*>(WidgetOf(window->CalculateBtn())), Qt::LeftButton);
    EXPECT_EQ(window->BMIFld()->Value(), "BMI = 23.0.  WHO/CDC category: Healthy weight.");
    EXPECT_TRUE(window->BMIFld()->Visible());
  }

  QTemporaryDir dir_;
  int lookups_ = 0;
};

TEST_F(LogoTest, EachLogoIsReadOnceHoweverOftenItIsAskedFor) {
  CopyLogo("BMIsmall.png");
  CopyLogo("BMImedium.png");
  const fw::Picture* small = BMIsmall().get();
  const fw::Picture* medium = BMImedium().get();
  ASSERT_TRUE(small);
  ASSERT_TRUE(medium);
  EXPECT_NE(small, medium);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(BMIsmall().get(), small);
    EXPECT_EQ(BMImedium().get(), medium);
  }
  // Both windows show the cached pictures; still one read each.
  auto window = ControlWnd();
  auto about = AboutWnd();
  EXPECT_EQ(window->Canvas3()->Backdrop().get(), small);
  EXPECT_EQ(about->Canvas1()->Backdrop().get(), medium);
  EXPECT_FALSE(Blank(WidgetOf(window->Canvas3())));
  EXPECT_EQ(fw::test::PictureReads("BMIsmall.png"), 1);
  EXPECT_EQ(fw::test::PictureReads("BMImedium.png"), 1);
}

TEST_F(LogoTest, AMissingLogoIsLookedUpAgainOnEveryCall) {
  CopyLogo("BMImedium.png");
  CountLookups();
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(BMIsmall());
  EXPECT_EQ(lookups_, 3);
  // The other logo does not suffer.
  EXPECT_TRUE(BMImedium());
  EXPECT_EQ(lookups_, 4);

  // Once the file is there, the next call finds it, and then it is kept.
  CopyLogo("BMIsmall.png");
  const fw::Picture* small = BMIsmall().get();
  EXPECT_TRUE(small);
  EXPECT_EQ(lookups_, 5);
  EXPECT_EQ(BMIsmall().get(), small);
  EXPECT_EQ(BMImedium().get(), BMImedium().get());
  EXPECT_EQ(lookups_, 5);
  EXPECT_EQ(fw::test::PictureReads("BMIsmall.png"), 1);
}

TEST_F(LogoTest, TheCalculatorOpensWithAllItsControlsWithoutTheSmallLogo) {
  CopyLogo("BMImedium.png");
  auto window = ControlWnd();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Controls().size(), 16u);
  EXPECT_FALSE(window->Canvas3()->Backdrop());
  EXPECT_TRUE(Blank(WidgetOf(window->Canvas3())));
  EXPECT_TRUE(WidgetOf(window)->isVisible());
  ExpectCalculatorWorks(window);
  // The About window still has its own logo.
  EXPECT_TRUE(AboutWnd()->Canvas1()->Backdrop());
}

TEST_F(LogoTest, ACorruptOrEmptyPictureFileGivesNoPictureAndAnEmptyCanvas) {
  WriteFile("BMIsmall.png", QByteArray("\x89PNG\r\n\x1a\n this is not a picture", 30));
  WriteFile("BMImedium.png", QByteArray());
  EXPECT_FALSE(BMIsmall());
  EXPECT_FALSE(BMImedium());
  EXPECT_FALSE(BMIsmall());  // read again: nothing was kept
  EXPECT_EQ(fw::test::PictureReads("BMIsmall.png"), 2);

  auto window = ControlWnd();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Controls().size(), 16u);
  EXPECT_FALSE(window->Canvas3()->Backdrop());
  EXPECT_TRUE(Blank(WidgetOf(window->Canvas3())));
  auto about = AboutWnd();
  EXPECT_EQ(about->Controls().size(), 4u);
  EXPECT_FALSE(about->Canvas1()->Backdrop());
  EXPECT_TRUE(Blank(WidgetOf(about->Canvas1())));
  ExpectCalculatorWorks(window);
}

TEST_F(LogoTest, AFailedLookupPassesOnAndKeepsNothing) {
  CopyLogo("BMIsmall.png");
  fw::test::FailAt("RuntimeGetPictureFromResourceManager");
  EXPECT_THROW(BMIsmall(), fw::RuntimeException);
  const fw::Picture* small = BMIsmall().get();
  EXPECT_TRUE(small);
  EXPECT_EQ(BMIsmall().get(), small);
  EXPECT_EQ(fw::test::PictureReads("BMIsmall.png"), 1);
}

}  // namespace
