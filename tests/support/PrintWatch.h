// Watches a print that the program makes itself, free of Qt so that the
// GUI tests and the print probe use it alike.
//
// While a PrintWatch lives, the next styled-text printer that is asked for
// is the real one of `area`, with the width and the page graphics it was
// asked with, wrapped so that its blocks are counted; given a height, each
// block is that high in place of the one asked for. It watches one printer
// only: later ones are made as without it. It changes neither the dialog
// nor the page graphics, and it holds no reference to the job, which goes
// out when its caller lets it go.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "framework/Controls.h"

namespace testsupport {

class PrintWatch {
 public:
  explicit PrintWatch(fw::Ref<fw::TextArea> area, std::optional<std::int64_t> height = {},
                      std::function<void(int block)> afterBlock = {});
  ~PrintWatch();
  PrintWatch(const PrintWatch&) = delete;
  PrintWatch& operator=(const PrintWatch&) = delete;

  // Whether the printer was asked for: not when the dialog was cancelled.
  bool Started() const;
  // The blocks drawn, and the height of the last one as it was asked for.
  int Blocks() const;
  std::int64_t AskedHeight() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace testsupport
