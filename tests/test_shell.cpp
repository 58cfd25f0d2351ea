// The application shell without windows: the application object and its
// version data, the menu bar's tree, its one-time build and the item
// accessors, and the two file types.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "framework/Application.h"
#include "framework/FileType.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "shell/App.h"
#include "shell/FileTypes.h"
#include "shell/Menu.h"
#include "shell/Startup.h"

namespace {

// How often each traced step ran while the counter lives.
class StepCounter {
 public:
  StepCounter() {
    fw::test::SetTrace([this](const std::string& step) { steps_.push_back(step); });
  }
  ~StepCounter() { fw::test::SetTrace(nullptr); }
  int Count(const std::string& step) const {
    int n = 0;
    for (const auto& s : steps_) n += s == step;
    return n;
  }

 private:
  std::vector<std::string> steps_;
};

TEST(AppObject, IsNoneUntilMadeThenTheSameObjectWithItsVersionData) {
  EXPECT_TRUE(App().IsNone());
  _NewAppInstance();
  auto first = App();
  ASSERT_TRUE(first);
  EXPECT_EQ(App(), first);
  EXPECT_EQ(App(), first);
  EXPECT_EQ(fw::getAppObject(), first);
  EXPECT_EQ(first->ClassName(), "BMI");

  EXPECT_EQ(first->MajorVersion(), 2);
  EXPECT_EQ(first->MinorVersion(), 0);
  EXPECT_EQ(first->BugVersion(), 0);
  EXPECT_EQ(first->NonReleaseVersion(), 0);
  EXPECT_EQ(first->StageCode(), 3);
  EXPECT_EQ(first->ShortVersion(), "Quorvel");
  EXPECT_EQ(first->PackageInfo(), "2.0");
  EXPECT_FALSE(first->LongVersion().empty());
  EXPECT_EQ(first->LongVersion().find_first_of("\r\n"), std::string::npos);
  // The menu bar it holds is the one Menu() keeps.
  EXPECT_EQ(first->MenuBar(), Menu());
}

TEST(AppObject, AFailedSetUpLeavesNoApplicationObject) {
  // Version data, the menu bar's build and the registration, each failing.
  for (const char* fault : {"Application._x_SetVersionData", "MenuItem.AddMenu", "RuntimeRegisterAppObject"}) {
    SCOPED_TRACE(fault);
    fw::test::FailAt(fault);
    EXPECT_THROW(_NewAppInstance(), fw::RuntimeException);
    fw::test::ClearFaults();
    EXPECT_TRUE(App().IsNone());
  }
  // Without an application object the handlers have no receiver.
  EXPECT_THROW(_ApplicationAddMenuHandlers(), fw::NilObjectException);
  _NewAppInstance();
  EXPECT_TRUE(App());
}

TEST(AppObject, RegistersBothAboutHandlersOnItself) {
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  for (const char* name : {"AboutTavik", "AboutMenuItem"}) {
    auto handler = App()->MenuHandler(name);
    ASSERT_TRUE(handler) << name;
    EXPECT_EQ(handler->Signature(), "(  ) as Boolean");
    EXPECT_TRUE(handler->IsMethod());
  }
  EXPECT_FALSE(App()->MenuHandler("Print"));
  EXPECT_FALSE(App()->MenuHandler("FileQuit"));
}

enum class Class { Item, Quit, Apple };

struct TreeEntry {
  int menu;  // the top-level menu it belongs to (its own index for a menu)
  bool topLevel;
  const char* name;
  Class cls;
  const char* caption;
  bool autoEnabled;
  std::optional<const char*> shortcut;  // none: never assigned
};

const TreeEntry kExpectedTree[] = {
    {0, true, "UntitledMenu3", Class::Item, "", false, ""},
    {1, true, "FileMenu", Class::Item, "File", false, ""},
    {1, false, "Print", Class::Item, "Print", true, ""},
    {1, false, "FileQuit", Class::Quit, "Quit", true, "Ctrl+Q"},
    {1, false, "UntitledMenu7", Class::Item, "", false, ""},
    {2, true, "UntitledMenu0", Class::Item, "Edit", false, ""},
    {2, false, "EditUndo", Class::Item, "Undo", false, "Ctrl+Z"},
    {2, false, "UntitledMenu1", Class::Item, "-", false, std::nullopt},
    {2, false, "EditCut", Class::Item, "Cut", false, "Ctrl+X"},
    {2, false, "EditCopy", Class::Item, "Copy", false, "Ctrl+C"},
    {2, false, "EditPaste", Class::Item, "Paste", false, "Ctrl+V"},
    {2, false, "EditClear", Class::Item, "", false, ""},
    {2, false, "UntitledMenu6", Class::Item, "", false, ""},
    {3, true, "WindowMenu", Class::Item, "Window", false, ""},
    {3, false, "ControlMenuItem", Class::Item, "Control", false, ""},
    {3, false, "DescriptionMenuItem", Class::Item, "Description", false, ""},
    {3, false, "AboutMenuItem", Class::Item, "About Quorvel", false, ""},
    {3, false, "UntitledMenu5", Class::Item, "", false, ""},
    {3, false, "AboutTavik", Class::Apple, "About Quorvel", false, ""},
    {3, false, "UntitledMenu4", Class::Apple, "", false, ""},
    {4, true, "UntitledMenu2", Class::Item, "", false, ""},
};

// Compares the whole bar with the table: menus, items, their order and
// every property the program sets.
void ExpectTheProgramsTree(const fw::Ref<fw::MenuBar>& bar) {
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->Count(), 5);
  std::vector<int> itemsSeen(5, 0);
  for (const auto& e : kExpectedTree) {
    SCOPED_TRACE(e.name);
    auto menu = bar->Item(e.menu);
    fw::Ref<fw::MenuItem> item;
    if (e.topLevel) {
      item = menu;
    } else {
      ASSERT_LT(itemsSeen[e.menu], menu->Count());
      item = menu->Item(itemsSeen[e.menu]++);
    }
    EXPECT_EQ(item->Name(), e.name);
    const auto& type = typeid(*item);
    switch (e.cls) {
      case Class::Item: EXPECT_TRUE(type == typeid(fw::MenuItem)) << item->ClassName(); break;
      case Class::Quit: EXPECT_TRUE(type == typeid(fw::QuitMenuItem)) << item->ClassName(); break;
      case Class::Apple: EXPECT_TRUE(type == typeid(fw::AppleMenuItem)) << item->ClassName(); break;
    }
    EXPECT_EQ(item->Value(), e.caption);
    EXPECT_EQ(item->AutoEnabled(), e.autoEnabled);
    EXPECT_TRUE(item->Visible());
    EXPECT_EQ(item->ShortcutAssigned(), e.shortcut.has_value());
    EXPECT_EQ(item->Shortcut(), e.shortcut.value_or(""));
    // Found by its own Name from the bar, at any depth.
    EXPECT_EQ(bar->_Lookup(e.name), item);
  }
  for (int m = 0; m < 5; ++m) EXPECT_EQ(bar->Item(m)->Count(), itemsSeen[m]) << "menu " << m;
}

TEST(MenuBar, HoldsFiveMenusAndSixteenItemsAsTheProgramDefinesThem) {
  auto bar = Menu();
  EXPECT_EQ(bar->ClassName(), "Menu.Menu");
  ExpectTheProgramsTree(bar);
  EXPECT_TRUE(bar->_Lookup("NoSuchItem").IsNone());
  EXPECT_TRUE(bar->_Lookup("").IsNone());
}

TEST(MenuBar, IsBuiltOnceAndKept) {
  StepCounter counter;
  auto first = Menu();
  EXPECT_EQ(counter.Count("MenuItem.AddMenu"), 21);
  // The same bar, and nothing attached to it again.
  EXPECT_EQ(Menu(), first);
  EXPECT_EQ(counter.Count("MenuItem.AddMenu"), 21);
}

TEST(MenuBar, ABuildThatThrowsStoresNothingAndTheNextCallStartsAfresh) {
  // At the first attachment.
  fw::test::FailAt("MenuItem.AddMenu");
  EXPECT_THROW(Menu(), fw::RuntimeException);
  fw::test::ClearFaults();

  // Half-way through the tree: a bar kept from here would hold duplicates.
  int attached = 0;
  fw::test::SetTrace([&attached](const std::string& step) {
    if (step == "MenuItem.AddMenu" && ++attached == 10) throw fw::RuntimeException("fault at the tenth attachment");
  });
  EXPECT_THROW(Menu(), fw::RuntimeException);
  EXPECT_EQ(attached, 10);
  fw::test::SetTrace(nullptr);

  auto bar = Menu();
  ExpectTheProgramsTree(bar);
  EXPECT_EQ(Menu(), bar);
}

TEST(MenuItemAccessors, RaiseWithoutAnApplicationObjectOrWithoutItsMenuBar) {
  auto expectAllRaiseNil = [] {
    EXPECT_THROW(AboutTavik(), fw::NilObjectException);
    EXPECT_THROW(AboutMenuItem(), fw::NilObjectException);
    EXPECT_THROW(DescriptionMenuItem(), fw::NilObjectException);
    EXPECT_THROW(ControlMenuItem(), fw::NilObjectException);
  };
  {
    SCOPED_TRACE("no application object");
    expectAllRaiseNil();
  }
  {
    SCOPED_TRACE("an application object without a menu bar");
    fw::RuntimeRegisterAppObject(fw::New<BMI>());
    expectAllRaiseNil();
  }
}

TEST(MenuItemAccessors, FindEachItemByNameInTheApplicationsBar) {
  _NewAppInstance();
  auto bar = App()->MenuBar();
  ASSERT_TRUE(bar);
  auto window = bar->Child("WindowMenu");
  ASSERT_TRUE(window);
  EXPECT_EQ(AboutTavik(), window->Item(4));
  EXPECT_EQ(AboutMenuItem(), window->Item(2));
  EXPECT_EQ(DescriptionMenuItem(), window->Item(1));
  EXPECT_EQ(ControlMenuItem(), window->Item(0));
  // Second-level items: not direct children of the bar.
  EXPECT_TRUE(bar->Child("AboutTavik").IsNone());
}

TEST(MenuItemAccessors, ReturnNoneForAMissingNameAndRaiseForAnItemOfAnotherClass) {
  // A bar of the application's own making: one menu with a plain item that
  // bears the Name the AboutTavik accessor casts to AppleMenuItem.
  auto app = fw::New<BMI>();
  auto bar = fw::New<fw::MenuBar>();
  auto menu = fw::New<fw::MenuItem>();
  menu->Name("WindowMenu");
  auto item = fw::New<fw::MenuItem>();
  item->Name("AboutTavik");
  bar->AddMenu(menu);
  menu->AddMenu(item);
  app->MenuBar(bar);
  fw::RuntimeRegisterAppObject(app);

  EXPECT_THROW(AboutTavik(), fw::IllegalCastException);
  EXPECT_TRUE(AboutMenuItem().IsNone());
  EXPECT_TRUE(DescriptionMenuItem().IsNone());
  EXPECT_TRUE(ControlMenuItem().IsNone());
  // The callers then fail where they set the state.
  EXPECT_THROW(ControlMenuItem()->Enabled(false), fw::NilObjectException);
}

struct TypeValues {
  const char* name;
  const char* extensions;
  const char* macType;
  const char* macCreator;
  const char* mimeType;
  bool imported;
  const char* conformsTo;
};

void ExpectValues(const fw::Ref<fw::FileType>& type, const TypeValues& v) {
  ASSERT_TRUE(type);
  EXPECT_EQ(type->Name(), v.name);
  EXPECT_EQ(type->Extensions(), v.extensions);
  EXPECT_EQ(type->MacType(), v.macType);
  EXPECT_EQ(type->MacCreator(), v.macCreator);
  EXPECT_EQ(type->MimeType(), v.mimeType);
  EXPECT_EQ(type->Imported(), v.imported);
  EXPECT_EQ(type->ConformsTo(), v.conformsTo);
  EXPECT_EQ(type->UTI(), "");
}

TEST(FileTypes, TwoTypesListedInOrderAndEachRegisteredOnceWithItsFinalValues) {
  fw::RuntimePerformInitializers();
  ASSERT_FALSE(fw::RuntimeHasPendingException());
  ASSERT_TRUE(FileTypes::pAllFileTypes);
  EXPECT_TRUE(FileTypes::pAllFileTypes->empty());
  EXPECT_TRUE(FileTypes::Text().IsNone());
  EXPECT_TRUE(FileTypes::UntitledType().IsNone());

  _InitFileTypes();

  const TypeValues expected[] = {
      {"text", "", "TEXT", "R*ch", "", true, ""},
      {"", "", "", "", "", true, ""},
  };
  const auto& list = *FileTypes::pAllFileTypes;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], FileTypes::Text());
  EXPECT_EQ(list[1], FileTypes::UntitledType());
  EXPECT_EQ(FileTypes::Text(), FileTypes::pText);
  EXPECT_EQ(FileTypes::UntitledType(), FileTypes::pUntitledType);

  const auto& registered = fw::RuntimeRegisteredFileTypes();
  ASSERT_EQ(registered.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    ExpectValues(list[i], expected[i]);
    EXPECT_TRUE(list[i]->Registered());
    // What the runtime was handed is what the type holds in the end: it
    // was registered after its properties had been set.
    EXPECT_EQ(registered[i].type, list[i].get());
    EXPECT_EQ(registered[i].name, expected[i].name);
    EXPECT_EQ(registered[i].macType, expected[i].macType);
    EXPECT_EQ(registered[i].macCreator, expected[i].macCreator);
    EXPECT_EQ(registered[i].extensions, expected[i].extensions);
    EXPECT_EQ(registered[i].uti, "");
  }
}

TEST(FileTypes, AFailedRegistrationStopsTheSetUpAndKeepsWhatWasMade) {
  fw::RuntimePerformInitializers();
  fw::test::FailAt("FileType.Operator_Convert");
  EXPECT_THROW(_InitFileTypes(), fw::RuntimeException);
  ASSERT_TRUE(FileTypes::Text());
  EXPECT_EQ(FileTypes::Text()->Name(), "text");
  EXPECT_TRUE(FileTypes::UntitledType().IsNone());
  EXPECT_EQ(FileTypes::pAllFileTypes->size(), 1u);
  EXPECT_TRUE(fw::RuntimeRegisteredFileTypes().empty());
}

}  // namespace
