// Whether a window manager runs, read as the EWMH says, on windows of the
// test's own standing in for the root: the display's real root is shared
// with the other tests.

#include "WindowMode.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

TEST(WindowMode, AManagerRunsOnlyWhileItsCheckWindowIsThereAndNamesItself)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "no X display";
    const Window realRoot = DefaultRootWindow(display);
    auto window = [&] { return XCreateSimpleWindow(display, realRoot, 0, 0, 10, 10, 0, 0, 0); };
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    auto name = [&](Window on, Window named) {
        const unsigned long value = named;
        XChangeProperty(display, on, check, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(display, False);
    };
    const Window root = window();
    const Window manager = window();

    EXPECT_FALSE(WindowMode::managerRuns(display, root)) << "nothing named";
    name(root, manager);
    EXPECT_FALSE(WindowMode::managerRuns(display, root)) << "the check window does not name itself";
    name(manager, manager);
    EXPECT_TRUE(WindowMode::managerRuns(display, root));
    // A manager that ended: its window is gone, its name stays on the root.
    XDestroyWindow(display, manager);
    XSync(display, False);
    EXPECT_FALSE(WindowMode::managerRuns(display, root));
    EXPECT_FALSE(WindowMode::managerRuns(nullptr, root));

    XDestroyWindow(display, root);
    XCloseDisplay(display);
}
