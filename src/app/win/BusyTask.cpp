#include "app/win/BusyTask.h"

#include "hexview/win/HexView.h"
#include "platform/System.h"
#include "ui/win/MessagePump.h"

namespace orx {

void BusyIndicator::FillIn(StatusInputs& inputs) const
{
    inputs.saving = kind_ == BusyKind::Saving;
    inputs.searching = kind_ == BusyKind::Searching;
    (inputs.saving ? inputs.saveProgressText : inputs.searchProgressText) =
        Active() ? text_ : std::u16string();
}

void BusyIndicator::Begin(BusyKind kind, std::string_view key)
{
    kind_ = kind;
    key_ = key;
    text_ = context_.Text(key);
    throttle_.Reset();
    EnableWindow(context_.view.Window(), FALSE);
    context_.events.Changed(Change::Busy);
    context_.events.RefreshNow();
}

void BusyIndicator::Progress(std::uint64_t done, std::uint64_t total)
{
    const auto percent = NextProgressUpdate(throttle_, done, total, platform::TickCount64());
    if (!percent) {
        return;
    }
    text_ = ProgressText(context_.Text(key_), *percent);
    // Only the status text changed: the menu and the commands stay as the start left them.
    context_.events.Changed(Change::Message);
    context_.events.RefreshNow();
    win::PumpPendingMessages();
}

void BusyIndicator::End()
{
    kind_.reset();
    text_.clear();
    throttle_.Reset();
    HWND view = context_.view.Window();
    EnableWindow(view, TRUE);
    // Disabling the view took the keyboard focus away from it; give it back so that typing
    // goes on where it stopped, unless another window (a dialog, another program) is active.
    if (GetActiveWindow() == context_.window) {
        SetFocus(view);
    }
    context_.events.Changed(Change::Busy);
    context_.events.RefreshNow();
}

BusyTask::BusyTask(BusyIndicator& indicator, BusyKind kind, std::string_view key)
    : indicator_(indicator)
{
    indicator_.Begin(kind, key);
}

BusyTask::~BusyTask()
{
    indicator_.End();
}

} // namespace orx
