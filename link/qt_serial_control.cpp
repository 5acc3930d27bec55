// The serial control on QSerialPort.
#include "link/qt_serial_control.h"

#include "link/port_error.h"

namespace corvane {

struct QtSerialControl::Impl {
    const PortNames& ports;
    int16_t port = 1;
    std::string settings = "9600,n,8,1";
};

QtSerialControl::QtSerialControl(const PortNames& ports) : impl_(std::make_unique<Impl>(Impl{ports})) {}
QtSerialControl::~QtSerialControl() = default;

void QtSerialControl::setCommPort(int16_t port) { impl_->port = port; }
int16_t QtSerialControl::CommPort() const { return impl_->port; }
void QtSerialControl::setSettings(const std::string& settings) { impl_->settings = settings; }
std::string QtSerialControl::Settings() const { return impl_->settings; }
void QtSerialControl::setPortOpen(bool open) {
    if (open) throw PortError(impl_->ports.deviceFor(impl_->port), "the serial line is not available yet");
}
bool QtSerialControl::PortOpen() const { return false; }
void QtSerialControl::setRTSEnable(bool) {}
void QtSerialControl::setDTREnable(bool) {}
void QtSerialControl::Output(const std::string&) {}
std::string QtSerialControl::Input() { return {}; }
int16_t QtSerialControl::InBufferCount() { return 0; }
void QtSerialControl::WaitForInput(int) {}

}  // namespace corvane
