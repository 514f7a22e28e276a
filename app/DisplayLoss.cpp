#include "DisplayLoss.h"

#include <X11/Xlib.h>

#include <cstring>

#include <unistd.h>

const char* const DisplayLoss::message = "torvel: the connection to the display is lost; the game ends\n";

namespace {

// Xlib's IO error handler must not return. Only async-safe calls: the
// process may be anywhere inside the engine or the GL driver.
int endOnDisplayLoss(Display*)
{
    const ssize_t ignored = ::write(STDERR_FILENO, DisplayLoss::message, std::strlen(DisplayLoss::message));
    (void)ignored;
    ::_exit(1);
}

} // namespace

void DisplayLoss::install()
{
    XSetIOErrorHandler(endOnDisplayLoss);
}
