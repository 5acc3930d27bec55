// Controller > Add Network Port...: a serial line that ends at a device server, added to the port
// list and remembered for the next run.
#include <QSettings>

#include "document/message_box.h"
#include "link/network_ports.h"
#include "ui/main/main_window.h"
#include "ui/main/qt_text_prompt.h"

namespace corvane {
namespace {

const QString kNetworkPortsKey = QStringLiteral("ports/network");

std::unique_ptr<QSettings> OpenSettings(const QString& file) {
    if (file.isEmpty())
        return std::make_unique<QSettings>(QStringLiteral("Ostrel"),
                                           QStringLiteral("Corvane Scene Tool"));
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

bool WellFormed(const QString& name) {
    std::string problem;
    return ParseNetworkPortName(name.toStdString(), &problem).has_value();
}

}  // namespace

QStringList frmCVSceneTool::rememberedPorts() const {
    return OpenSettings(parts_.settingsFile)->value(kNetworkPortsKey).toStringList();
}

void frmCVSceneTool::rememberPort(const QString& name) {
    QStringList ports = rememberedPorts();
    if (ports.contains(name)) return;
    ports << name;
    OpenSettings(parts_.settingsFile)->setValue(kNetworkPortsKey, ports);
}

void frmCVSceneTool::listRememberedPorts() {
    // A settings file edited by hand may hold anything; only names that can be opened are listed.
    for (const QString& name : rememberedPorts())
        if (WellFormed(name)) fixedPorts_.push_back({name, name.toStdString()});
}

void frmCVSceneTool::mnuAddNetworkPort_Click() {
    TextPrompt* prompt = parts_.prompt;
    if (!prompt) {
        if (!ownPrompt_) ownPrompt_ = std::make_unique<QtTextPrompt>(this);
        prompt = ownPrompt_.get();
    }
    // A slip is shown, and the name asked for again as typed, to be mended rather than retyped.
    QString name;
    for (QString typed = QStringLiteral("rfc2217://");;) {
        const std::optional<QString> answer = prompt->ask(messages::addNetworkPort(typed));
        if (!answer) return;
        typed = answer->trimmed();
        std::string problem;
        if (ParseNetworkPortName(typed.toStdString(), &problem)) {
            name = typed;
            break;
        }
        parts_.messages.show(messages::notANetworkPort(QString::fromStdString(problem)));
    }
    rememberPort(name);
    const int listed = cboComPort->findData(name);
    if (listed >= 0) {
        cboComPort->setCurrentIndex(listed);
        return;
    }
    addPort(name, name.toStdString());
}

}  // namespace corvane
