#include "tests/support/PrintWatch.h"

#include <utility>

#include "framework/Printing.h"
#include "framework/TestSeams.h"

namespace testsupport {

using I = std::int64_t;

struct PrintWatch::State {
  fw::Ref<fw::TextArea> area;  // let go once its printer is made
  std::optional<I> height;
  std::function<void(int)> afterBlock;
  bool started = false;
  int blocks = 0;
  I asked = 0;
};

namespace {

class WatchedPrinter : public fw::StyledTextPrinter {
 public:
  WatchedPrinter(fw::Ref<fw::StyledTextPrinter> real, std::shared_ptr<PrintWatch::State> state)
      : real_(std::move(real)), state_(std::move(state)) {}
  bool EOF() override { return real_->EOF(); }
  void DrawBlock(I x, I y, I height) override {
    state_->asked = height;
    real_->DrawBlock(x, y, state_->height.value_or(height));
    ++state_->blocks;
    if (state_->afterBlock) state_->afterBlock(state_->blocks);
  }

 private:
  fw::Ref<fw::StyledTextPrinter> real_;
  std::shared_ptr<PrintWatch::State> state_;
};

}  // namespace

PrintWatch::PrintWatch(fw::Ref<fw::TextArea> area, std::optional<I> height, std::function<void(int)> afterBlock)
    : state_(std::make_shared<State>(State{std::move(area), height, std::move(afterBlock)})) {
  fw::test::SetStyledTextPrinterFactory([state = state_](const fw::Ref<fw::Graphics>& graphics, I width) {
    // Clearing the seam destroys this closure: its state is taken out first.
    auto watched = state;
    fw::test::SetStyledTextPrinterFactory(nullptr);
    watched->started = true;
    auto area = std::move(watched->area);
    return fw::Ref<fw::StyledTextPrinter>(
        fw::New<WatchedPrinter>(area->styledTextPrinter(graphics, width), std::move(watched)));
  });
}

PrintWatch::~PrintWatch() {
  if (!state_->started) fw::test::SetStyledTextPrinterFactory(nullptr);
}

bool PrintWatch::Started() const { return state_->started; }
int PrintWatch::Blocks() const { return state_->blocks; }
I PrintWatch::AskedHeight() const { return state_->asked; }

}  // namespace testsupport
