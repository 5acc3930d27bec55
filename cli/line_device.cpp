// The DEVICE a command names.
#include "cli/line_device.h"

#include <QString>
#include <system_error>

#include "sim/demo_show.h"
#include "sim/pty_server.h"

namespace corvane::cli {

LineDevice::~LineDevice() = default;

std::unique_ptr<LineDevice> LineDevice::Open(const std::string& name, std::string* error) {
    std::unique_ptr<LineDevice> device(new LineDevice);
    const QString given = QString::fromStdString(name);
    if (given.isEmpty()) {
        *error = "--port needs a device: a device path, COM1 to COM8, or sim";
        return nullptr;
    }
    // "sim" and "COM1" are names, not paths: taken whatever their case, as Windows takes COM1.
    if (given.compare(QStringLiteral("sim"), Qt::CaseInsensitive) == 0) {
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
    if (given.size() == 4 && given.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive) &&
        given[3] >= '1' && given[3] <= '8') {
        device->port_ = static_cast<int16_t>(given[3].digitValue());
        device->label_ = "COM" + name.substr(3);
        return device;
    }
    device->port_ = device->names_.addDevice(name);
    device->label_ = name;
    return device;
}

}  // namespace corvane::cli
