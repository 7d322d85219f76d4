#include "platform/Desktop.h"

// The one place that picks the backend of the system being built for.
#if defined(__linux__)
#include "platform/linux/LinuxDesktop.h"
namespace platform {
std::unique_ptr<Desktop> CreateDesktop() { return std::make_unique<LinuxDesktop>(); }
}  // namespace platform
#elif defined(_WIN32)
#include "platform/windows/WindowsDesktop.h"
namespace platform {
std::unique_ptr<Desktop> CreateDesktop() { return std::make_unique<WindowsDesktop>(); }
}  // namespace platform
#else
#error "Horalog has no desktop backend for this system"
#endif
