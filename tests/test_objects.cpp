// The object model the program is written against: references to none,
// the class-testing cast, delegates, the UI-thread check and the one path
// by which the framework calls program code.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "framework/Application.h"
#include "framework/Delegate.h"
#include "framework/Menu.h"
#include "framework/Object.h"
#include "framework/Run.h"
#include "framework/Window.h"

namespace {

class Counter : public fw::Object {
 public:
  bool Hit() {
    ++calls;
    return true;
  }
  int calls = 0;
};

TEST(Ref, AccessThroughNoneRaisesNilObjectException) {
  fw::Ref<fw::MenuItem> none;
  EXPECT_TRUE(none.IsNone());
  EXPECT_FALSE(none);
  EXPECT_THROW(none->Name("x"), fw::NilObjectException);
  EXPECT_THROW(*none, fw::NilObjectException);
  fw::Ref<fw::Application> noApp = nullptr;
  EXPECT_THROW(noApp->MenuBar(), fw::NilObjectException);

  auto some = fw::New<fw::MenuItem>();
  EXPECT_NO_THROW(some->Name("x"));
  EXPECT_EQ(some->Name(), "x");
}

TEST(Cast, KeepsNoneAsNoneAndRaisesForAnotherClass) {
  EXPECT_TRUE(fw::Cast<fw::QuitMenuItem>(fw::Ref<fw::MenuItem>()).IsNone());

  fw::Ref<fw::MenuItem> quit = fw::New<fw::QuitMenuItem>();
  auto asQuit = fw::Cast<fw::QuitMenuItem>(quit);
  EXPECT_EQ(asQuit, quit);
  EXPECT_EQ(fw::Cast<fw::Object>(quit), quit);

  fw::Ref<fw::MenuItem> apple = fw::New<fw::AppleMenuItem>();
  EXPECT_THROW(fw::Cast<fw::QuitMenuItem>(apple), fw::IllegalCastException);
  EXPECT_THROW(fw::Cast<fw::MenuBar>(fw::Ref<fw::Object>(fw::New<fw::MenuItem>())), fw::IllegalCastException);
  // The error is a RuntimeException like every other of the runtime.
  EXPECT_THROW(fw::Cast<fw::Window>(apple), fw::RuntimeException);
}

TEST(Delegate, CallsItsTargetAndRaisesWhenTheTargetIsNoneOrGone) {
  auto target = fw::New<Counter>();
  auto live = fw::RuntimeCreateDelegate("(  ) as Boolean", target, &Counter::Hit);
  EXPECT_TRUE(live->IsMethod());
  EXPECT_TRUE(live->Invoke<bool>());
  EXPECT_EQ(target->calls, 1);

  auto onNone = fw::RuntimeCreateDelegate("(  ) as Boolean", fw::Ref<Counter>(), &Counter::Hit);
  EXPECT_THROW(onNone->Invoke<bool>(), fw::NilObjectException);

  // The delegate holds its target weakly: dropping the last reference ends it.
  target.Reset();
  EXPECT_THROW(live->Invoke<bool>(), fw::NilObjectException);

  int plainCalls = 0;
  auto plain = fw::RuntimeCreateDelegate("(  )", std::function<void()>([&plainCalls] { ++plainCalls; }));
  EXPECT_FALSE(plain->IsMethod());
  plain->Invoke<void>();
  EXPECT_EQ(plainCalls, 1);
  EXPECT_EQ(plain->Signature(), "(  )");
}

TEST(UIThread, FrameworkCallsFromAnotherThreadRaiseAndChangeNothing) {
  auto item = fw::New<fw::MenuItem>();
  item->Name("Before");
  auto app = fw::New<fw::Application>();
  auto window = fw::New<fw::Window>();
  auto handler = fw::RuntimeCreateDelegate("(  ) as Boolean", fw::New<Counter>(), &Counter::Hit);

  struct Case {
    const char* what;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"MenuItem.Name setter", [&] { item->Name("After"); }},
      {"MenuItem.Enabled getter", [&] { (void)item->Enabled(); }},
      {"MenuItem.AddMenu", [&] { item->AddMenu(fw::New<fw::MenuItem>()); }},
      {"MenuItem._Lookup", [&] { (void)item->_Lookup("Before"); }},
      {"Application._AddMenuHandler", [&] { app->_AddMenuHandler("AboutTavik", handler); }},
      {"Application.MenuBar", [&] { app->MenuBar(fw::New<fw::MenuBar>()); }},
      {"RuntimeRegisterAppObject", [&] { fw::RuntimeRegisterAppObject(app); }},
      {"Window._AddMenuHandler", [&] { window->_AddMenuHandler("AboutTavik", handler); }},
      {"Window.Show", [&] { window->Show(); }},
      {"Quit", [] { fw::Quit(0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string raised = "nothing";
    std::thread worker([&] {
      try {
        c.call();
      } catch (const fw::ThreadAccessingUIException&) {
        raised = "ThreadAccessingUIException";
      } catch (const std::exception& e) {
        raised = std::string("another exception: ") + e.what();
      }
    });
    worker.join();
    EXPECT_EQ(raised, "ThreadAccessingUIException");
  }
  EXPECT_EQ(item->Name(), "Before");
  EXPECT_EQ(item->Count(), 0);
  EXPECT_FALSE(app->MenuHandler("AboutTavik"));
  EXPECT_FALSE(app->MenuBar());
  EXPECT_FALSE(fw::getAppObject());
  EXPECT_FALSE(window->MenuHandler("AboutTavik"));
  EXPECT_FALSE(fw::RuntimeQuitRequested());
}

void Raise(void* what) {
  const std::string& kind = *static_cast<const std::string*>(what);
  if (kind == "nil") throw fw::NilObjectException("raised inside");
  if (kind == "logic") throw std::logic_error("not a runtime exception");
}

TEST(ExceptionHelper, ReturnsARuntimeExceptionAndPassesOthersOn) {
  std::string kind = "none";
  EXPECT_EQ(fw::_CallFunctionWithExceptionHandling(&Raise, &kind), nullptr);

  kind = "nil";
  auto raised = fw::_CallFunctionWithExceptionHandling(&Raise, &kind);
  ASSERT_NE(raised, nullptr);
  try {
    std::rethrow_exception(raised);
  } catch (const fw::NilObjectException& e) {
    EXPECT_EQ(e.Message(), "raised inside");
  } catch (...) {
    ADD_FAILURE() << "the helper returned another exception";
  }

  kind = "logic";
  EXPECT_THROW(fw::_CallFunctionWithExceptionHandling(&Raise, &kind), std::logic_error);
}

// What RuntimeCallProgram left pending, described; "none" for nothing.
std::string TakePending() {
  auto pending = fw::RuntimeTakePendingException();
  if (!pending) return "none";
  try {
    std::rethrow_exception(pending);
  } catch (const fw::RuntimeException& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  } catch (const std::exception& e) {
    return std::string("std: ") + e.what();
  } catch (...) {
    return "unknown";
  }
}

TEST(RuntimeCallProgram, TurnsEveryEscapingExceptionIntoThePendingOne) {
  // Without and with the helper that start-up installs; the installed one
  // is used for every call.
  int helperCalls = 0;
  for (bool installed : {false, true}) {
    SCOPED_TRACE(installed ? "helper installed" : "no helper");
    if (installed) {
      fw::RuntimeSetExceptionHelper(fw::RuntimeCreateDelegate(
          "( Ptr, Ptr ) as Object",
          std::function<std::exception_ptr(void (*)(void*), void*)>([&helperCalls](void (*fn)(void*), void* arg) {
            ++helperCalls;
            return fw::_CallFunctionWithExceptionHandling(fn, arg);
          })));
    }
    bool ran = false;
    EXPECT_NO_THROW(fw::RuntimeCallProgram([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(TakePending(), "none");

    EXPECT_NO_THROW(fw::RuntimeCallProgram([] { throw fw::IllegalCastException("first"); }));
    // A second escape does not replace the first.
    EXPECT_NO_THROW(fw::RuntimeCallProgram([] { throw fw::NilObjectException("second"); }));
    EXPECT_EQ(TakePending(), "IllegalCastException: first");

    EXPECT_NO_THROW(fw::RuntimeCallProgram([] { throw std::runtime_error("plain"); }));
    EXPECT_EQ(TakePending(), "std: plain");
    EXPECT_NO_THROW(fw::RuntimeCallProgram([] { throw 42; }));
    EXPECT_EQ(TakePending(), "unknown");
  }
  EXPECT_EQ(helperCalls, 5);
}

}  // namespace
