// The options of corvane-sim, read from its command line.
#include "sim/sim_command_line.h"

#include <QCommandLineParser>

#include "link/node_numbers.h"

namespace corvane::sim {
namespace {

constexpr int kLongestLateMs = 60000;

const char kDescription[] =
    "A simulated Corvane controller on a pseudo-terminal, for testing and demonstrating the\n"
    "scene tool without a controller. The first line of output is the device to connect to.\n"
    "It serves block reads and writes for its node and ignores everything else, as a\n"
    "controller on a shared line does. With several nodes (--node 3,17,20-22) it is that many\n"
    "controllers on one line, each with its own memory, all starting with the same show.\n"
    "SIGINT or SIGTERM ends it (after --save, if given).\n"
    "\n"
    "Faults (--fault, may be repeated) take BLOCK:KIND[:COUNT|always][:read|write][@NODE],\n"
    "block 0 to 63 as on the wire (the tool shows block + 1), count 1 if left out, every node\n"
    "if no node is named:\n"
    "  drop    no reply                  badsum  wrong check digits\n"
    "  short   last character lost       late    the reply after --late-ms\n"
    "  extra   \"\\r\\n\" after the reply    noise   garbage before the reply\n"
    "  close   the line closes instead of the reply (the program then ends)\n"
    "e.g. --fault 5:drop:2 fails block 5 twice, then answers it.\n"
    "\n"
    "Exit status: 0 done, 1 a file or the pseudo-terminal failed, 2 a wrong command line.";

SimCommandLine error(std::string text) {
    SimCommandLine result;
    result.outcome = SimCommandLine::Outcome::Error;
    result.text = std::move(text);
    return result;
}

bool decimalInRange(const QString& text, int low, int high, int* value) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < low || v > high || text.trimmed() != text) return false;
    *value = v;
    return true;
}

}  // namespace

SimCommandLine ParseSimCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    // Only -h and --help: Qt's own --help-all would offer options the simulator does not take.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption node(
        QStringLiteral("node"),
        QStringLiteral(
            "Node number, 1 to 254 (default 1), in decimal or as 0x and two hexadecimal digits; "
            "or several, as 3,17,20-22."),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption load(
        QStringLiteral("load"),
        QStringLiteral("Start with the show in this scene file (default: a built-in show)."),
        QStringLiteral("FILE.SCN"));
    const QCommandLineOption save(
        QStringLiteral("save"),
        QStringLiteral("On exit, save the memory to this scene file (with several "
                       "nodes, to FILE-N.SCN for each node N)."),
        QStringLiteral("FILE.SCN"));
    const QCommandLineOption lower(QStringLiteral("lower"),
                                   QStringLiteral("Reply with lower-case hex digits."));
    const QCommandLineOption framedAck(
        QStringLiteral("framed-ack"),
        QStringLiteral("Acknowledge writes with a framed reply \"[cc01]\" "
                       "instead of \"{--}01\"."));
    const QCommandLineOption paced(
        QStringLiteral("paced"),
        QStringLiteral("Run the line at the speed of a cable, 38400 baud."));
    const QCommandLineOption fault(QStringLiteral("fault"),
                                   QStringLiteral("Commit a fault (see above)."),
                                   QStringLiteral("BLOCK:KIND"));
    const QCommandLineOption lateMs(QStringLiteral("late-ms"),
                                    QStringLiteral("Delay of a late reply in ms (default 1200)."),
                                    QStringLiteral("MS"), QStringLiteral("1200"));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Describe every request on standard error."));
    parser.addOptions({help, node, load, save, lower, framedAck, paced, fault, lateMs, verbose});

    if (!parser.parse(arguments)) return error(parser.errorText().toStdString());
    if (parser.isSet(help)) {
        SimCommandLine result;
        result.outcome = SimCommandLine::Outcome::Help;
        // Qt names the program by the path it was started by.
        QString text = parser.helpText();
        const qsizetype space = text.indexOf(' ', QStringLiteral("Usage: ").size());
        text.replace(0, space, QStringLiteral("Usage: corvane-sim"));
        result.text = text.toStdString();
        return result;
    }
    if (parser.isSet(version)) {
        SimCommandLine result;
        result.outcome = SimCommandLine::Outcome::Version;
        return result;
    }
    const QStringList given = parser.optionNames();
    for (const QString& option : given) {
        if (option != fault.names().constFirst() && given.count(option) > 1)
            return error("--" + option.toStdString() + " was given more than once");
    }
    if (!parser.positionalArguments().isEmpty())
        return error("unexpected argument \"" + parser.positionalArguments().first().toStdString() +
                     "\"");

    SimSettings s;
    int number = 0;
    std::string nodeProblem;
    const std::optional<std::vector<int>> nodes =
        ParseNodeList(parser.value(node).toStdString(), &nodeProblem);
    if (!nodes)
        return error("--node \"" + parser.value(node).toStdString() + "\": the node must be " +
                     kNodeForms + ", or several such as 3,17,20-22");
    s.nodes.assign(nodes->begin(), nodes->end());
    s.engine.node = s.nodes.front();
    if (!decimalInRange(parser.value(lateMs), 0, kLongestLateMs, &number))
        return error("--late-ms \"" + parser.value(lateMs).toStdString() +
                     "\": the delay must be a number of milliseconds from 0 to 60000");
    s.engine.lateDelay = std::chrono::milliseconds(number);
    s.engine.lowerCase = parser.isSet(lower);
    s.engine.ack = parser.isSet(framedAck) ? AckStyle::Framed : AckStyle::Plain;
    s.paced = parser.isSet(paced);
    s.verbose = parser.isSet(verbose);
    s.loadPath = parser.value(load);
    s.savePath = parser.value(save);
    if (parser.isSet(load) && s.loadPath.isEmpty()) return error("--load needs a file name");
    if (parser.isSet(save) && s.savePath.isEmpty()) return error("--save needs a file name");
    for (const QString& text : parser.values(fault)) {
        std::string reason;
        const std::optional<Fault> f = ParseFault(text.toStdString(), &reason);
        if (!f) return error(reason);
        s.faults.push_back(*f);
    }

    SimCommandLine result;
    result.outcome = SimCommandLine::Outcome::Run;
    result.settings = s;
    return result;
}

}  // namespace corvane::sim
