// The DEVICE a command names.
#include "cli/line_device.h"

#include <system_error>

#include "sim/demo_show.h"
#include "sim/pty_server.h"

namespace corvane::cli {

LineDevice::~LineDevice() = default;

std::unique_ptr<LineDevice> LineDevice::Open(const std::string& name, std::string* error) {
    std::unique_ptr<LineDevice> device(new LineDevice);
    if (name.empty()) {
        *error = "--port needs a device: a device path, COM1 to COM8, or sim";
        return nullptr;
    }
    if (name == "sim") {
        try {
            sim::ControllerEngine engine(sim::EngineOptions{});
            engine.setMemory(sim::DemoMemory());
            device->simulator_ = std::make_unique<sim::PtyServer>(std::move(engine));
        } catch (const std::system_error& e) {
            *error = std::string("the built-in simulator could not start: ") + e.what();
            return nullptr;
        }
        device->port_ = device->names_.addDevice(device->simulator_->devicePath());
        device->label_ = "the built-in simulator (" + device->simulator_->devicePath() + ")";
        return device;
    }
    if (name.size() == 4 && name.rfind("COM", 0) == 0 && name[3] >= '1' && name[3] <= '8') {
        device->port_ = static_cast<int16_t>(name[3] - '0');
        device->label_ = name;
        return device;
    }
    device->port_ = device->names_.addDevice(name);
    device->label_ = name;
    return device;
}

}  // namespace corvane::cli
