#pragma once

#include "app/ProgressThrottle.h"
#include "app/StatusText.h"
#include "app/win/AppContext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orx {

// What keeps the main window busy: a save or a search on the UI thread.
enum class BusyKind : std::uint8_t { Saving, Searching };

// The main window's busy state: while a task runs the view is disabled, the commands are
// greyed, closing is refused and the status bar shows the task's throttled percentage.
class BusyIndicator {
public:
    explicit BusyIndicator(AppContext& context) : context_(context) {}

    [[nodiscard]] bool Active() const { return kind_.has_value(); }
    // The task's part of the status inputs.
    void FillIn(StatusInputs& inputs) const;

private:
    friend class BusyTask;
    void Begin(BusyKind kind, std::string_view key);
    void Progress(std::uint64_t done, std::uint64_t total);
    void End();

    AppContext& context_;
    std::optional<BusyKind> kind_;
    std::string_view key_;
    std::u16string text_;
    ProgressThrottle throttle_;
};

// One save or search, from its start to its end (RAII): the window is busy while it lives.
class BusyTask {
public:
    // `key`: the status text the percentage follows ("status.saving").
    BusyTask(BusyIndicator& indicator, BusyKind kind, std::string_view key);
    ~BusyTask();
    BusyTask(const BusyTask&) = delete;
    BusyTask& operator=(const BusyTask&) = delete;

    // Shows the percentage at once when it changed enough, and keeps the windows alive.
    void Progress(std::uint64_t done, std::uint64_t total) { indicator_.Progress(done, total); }

private:
    BusyIndicator& indicator_;
};

} // namespace orx
