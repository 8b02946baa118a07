#include "Notifier.h"

#include <cstdio>

namespace {
class StdErrNotifier : public INotifier {
public:
    void message(const QString& text, MsgIcon) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool askYesNo(const QString& text, MsgIcon) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return false;
    }
};
StdErrNotifier g_default;
INotifier* g_current = &g_default;
} // namespace

INotifier& notifier() { return *g_current; }

INotifier* setNotifier(INotifier* n) {
    INotifier* prev = g_current == &g_default ? nullptr : g_current;
    g_current = n ? n : &g_default;
    return prev;
}
