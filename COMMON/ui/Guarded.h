#pragma once
// Every button, timer and set-up handler of the screens shows what goes wrong
// in a message box (stop icon) and leaves the screen as it was.
#include <exception>
#include <utility>

// Shows the exception being handled; call only inside a catch block.
void ShowCurrentException();

// Runs f; an exception it throws is shown and swallowed. True when f finished.
template <typename F> bool Guarded(F&& f) {
    try {
        std::forward<F>(f)();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}
