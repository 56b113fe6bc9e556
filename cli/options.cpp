#include "cli/options.h"

#include "config/kzconfig.h"
#include "config/linevalues.h"
#include "config/uilanguage.h"

#include <QCoreApplication>

namespace {

enum VerbOption : unsigned {
    OptYes = 0x1,
    OptProfiles = 0x2,
    OptTimeout = 0x4,
    OptChannel = 0x8,
    OptJson = 0x10,
    OptPorts = 0x20,
    OptRecover = 0x40,
    OptRaw = 0x80,
};

struct VerbSpec {
    const char *name;
    int minArgs;
    int maxArgs;
    unsigned options;
    bool modem;
};

const VerbSpec verbs[] = {
    { "ports", 0, 0, OptJson, false },
    { "detect", 0, 0, OptJson | OptPorts, false },
    { "start-app", 0, 0, 0, true },
    { "info", 0, 0, 0, true },
    { "read", 0, 0, 0, true },
    { "bt-scan", 0, 0, 0, true },
    { "send", 1, 1, OptTimeout, true },
    { "auth", 1, 1, 0, true },
    { "mode", 0, 2, OptChannel, true },
    { "save", 1, 1, 0, true },
    { "apply", 1, 1, OptYes, true },
    { "reset", 0, 0, OptYes, true },
    { "diff", 1, 1, 0, true },
    { "fwinfo", 1, 1, 0, false },
    { "flash", 1, 1, OptYes | OptRecover, true },
    { "report", 1, 1, OptProfiles, true },
    { "report-show", 1, 1, OptRaw, false },
};

const VerbSpec *findVerb(const QString &name)
{
    for (const VerbSpec &v : verbs)
        if (name == QLatin1String(v.name))
            return &v;
    return nullptr;
}

// "--name value" or "--name=value"; advances *i past the value.
bool takeValue(const QStringList &argv, int *i, const QString &name, QString *value,
               QString *error)
{
    const QString &arg = argv.at(*i);
    if (arg.size() > name.size() && arg.at(name.size()) == QLatin1Char('=')) {
        *value = arg.mid(name.size() + 1);
        return true;
    }
    if (*i + 1 >= argv.size()) {
        *error = QCoreApplication::translate("CliOptions", "параметру %1 нужно значение").arg(name);
        return false;
    }
    ++*i;
    *value = argv.at(*i);
    return true;
}

// The option's name without any "=value".
QString optionName(const QString &arg)
{
    const int eq = arg.indexOf(QLatin1Char('='));
    return eq < 0 ? arg : arg.left(eq);
}

bool parseConnectionOption(const QStringList &argv, int *i, CliOptions *o, QString *error)
{
    const QString name = optionName(argv.at(*i));
    QString v;
    if (name == QLatin1String("--port")) {
        if (!takeValue(argv, i, name, &v, error))
            return false;
        if (v.trimmed().isEmpty()) {
            *error = QCoreApplication::translate("CliOptions", "пустое имя порта");
            return false;
        }
        o->port = v.trimmed();
        o->ports << o->port;
        return true;
    }
    if (name == QLatin1String("--baud")) {
        if (!takeValue(argv, i, name, &v, error))
            return false;
        if (v == QLatin1String("auto")) {
            o->baudAuto = true;
            return true;
        }
        o->baudAuto = false;
        bool ok = false;
        const int baud = v.toInt(&ok, 10);
        const int code = ok ? KZTables::codeForBaud(baud) : -1;
        if (code < 0) {
            *error = QCoreApplication::translate("CliOptions", "недопустимая скорость «%1»").arg(v);
            return false;
        }
        o->baudCode = code;
        return true;
    }
    if (name == QLatin1String("--data")) {
        if (!takeValue(argv, i, name, &v, error))
            return false;
        if (v == QLatin1String("8"))
            o->dataBits = KZTables::Data8;
        else if (v == QLatin1String("7"))
            o->dataBits = KZTables::Data7;
        else {
            *error = QCoreApplication::translate("CliOptions",
                                                 "число бит данных должно быть 8 или 7, а не «%1»")
                             .arg(v);
            return false;
        }
        return true;
    }
    if (name == QLatin1String("--parity")) {
        if (!takeValue(argv, i, name, &v, error))
            return false;
        const QString p = v.toUpper();
        if (p == QLatin1String("N"))
            o->parity = KZTables::ParNone;
        else if (p == QLatin1String("E"))
            o->parity = KZTables::ParEven;
        else if (p == QLatin1String("O"))
            o->parity = KZTables::ParOdd;
        else {
            *error = QCoreApplication::translate("CliOptions",
                                                 "чётность должна быть N, E или O, а не «%1»")
                             .arg(v);
            return false;
        }
        return true;
    }
    if (name == QLatin1String("--stop")) {
        if (!takeValue(argv, i, name, &v, error))
            return false;
        if (v == QLatin1String("1"))
            o->stopBits = KZTables::Stop1;
        else if (v == QLatin1String("2"))
            o->stopBits = KZTables::Stop2;
        else {
            *error = QCoreApplication::translate("CliOptions",
                                                 "число стоп-бит должно быть 1 или 2, а не «%1»")
                             .arg(v);
            return false;
        }
        return true;
    }
    *error = QCoreApplication::translate("CliOptions", "неизвестный параметр %1").arg(argv.at(*i));
    return false;
}

// ---- Fleet options: --dry-run, --json, --quiet, several --port ----

enum FleetOption : unsigned {
    FleetDryRun = 0x1,
    FleetJson = 0x2,
};

// Which commands take which fleet option, and which may run on several
// ports at once.
const struct {
    const char *verb;
    unsigned options;
    bool multiPort;
} fleetVerbs[] = {
    { "info", FleetJson, true },          { "read", 0, true },
    { "diff", FleetJson, true },          { "save", 0, true },
    { "apply", FleetDryRun, true },       { "reset", FleetDryRun, true },
    { "mode", FleetJson | FleetDryRun, true }, { "auth", 0, true },
    { "send", 0, true },                  { "flash", 0, true },
    { "report", 0, true },                { "fwinfo", FleetJson, false },
    { "ports", FleetJson, false },        { "detect", FleetJson, false },
};

unsigned fleetOptionsOf(const QString &verb, bool *multiPort = nullptr)
{
    for (const auto &v : fleetVerbs)
        if (verb == QLatin1String(v.verb)) {
            if (multiPort)
                *multiPort = v.multiPort;
            return v.options;
        }
    if (multiPort)
        *multiPort = false;
    return 0;
}

// Handles --dry-run and --json after the command; false when the argument is
// none of them (*handled false) or is refused (*error set).
bool parseFleetOption(const QString &verb, const QString &arg, CliOptions *o, bool *handled,
                      QString *error)
{
    const QString name = optionName(arg);
    unsigned bit = 0;
    bool *target = nullptr;
    if (name == QLatin1String("--dry-run")) {
        bit = FleetDryRun;
        target = &o->dryRun;
    } else if (name == QLatin1String("--json")) {
        bit = FleetJson;
        target = &o->json;
    } else {
        *handled = false;
        return false;
    }
    *handled = true;
    if (!(fleetOptionsOf(verb) & bit)) {
        *error = QCoreApplication::translate("CliOptions", "команда %1 не принимает параметр %2")
                         .arg(verb, name);
        return false;
    }
    if (arg != name) {
        *error = QCoreApplication::translate("CliOptions", "параметр %1 не принимает значения")
                         .arg(name);
        return false;
    }
    *target = true;
    return true;
}

// Whether FILE names one file per port: it must hold {port} or {serial}.
bool hasPlaceholder(const QString &path)
{
    return path.contains(QLatin1String("{port}")) || path.contains(QLatin1String("{serial}"));
}

// Checks of the fleet options that need the whole command line.
bool checkFleet(CliOptions *o, QString *error)
{
    const QString &verb = o->verb;
    if (o->dryRun && verb == QLatin1String("mode") && o->args.isEmpty()) {
        *error = QCoreApplication::translate("CliOptions",
                                             "параметр --dry-run используется только с mode set");
        return false;
    }
    // The search takes its list of ports itself, one after the other.
    if (o->ports.size() < 2 || verb == QLatin1String("detect"))
        return true;
    bool multiPort = false;
    fleetOptionsOf(verb, &multiPort);
    if (!multiPort) {
        *error = QCoreApplication::translate("CliOptions",
                                             "команда %1 работает только с одним портом")
                         .arg(verb);
        return false;
    }
    for (int i = 0; i < o->ports.size(); ++i)
        for (int j = i + 1; j < o->ports.size(); ++j)
            if (o->ports.at(i) == o->ports.at(j)) {
                *error = QCoreApplication::translate("CliOptions", "порт %1 указан дважды")
                                 .arg(o->ports.at(i));
                return false;
            }
    // Files written per port: one path for all would make them overwrite
    // each other.
    const bool writesFile = verb == QLatin1String("save") || verb == QLatin1String("report");
    if (writesFile && !hasPlaceholder(o->args.value(0))) {
        *error = QCoreApplication::translate(
                "CliOptions",
                "с несколькими портами имя файла должно содержать {port} или "
                "{serial}");
        return false;
    }
    return true;
}

// ---- end of the fleet options ----

bool parseVerbOption(const QStringList &argv, int *i, const VerbSpec &spec, CliOptions *o,
                     QString *error)
{
    const QString arg = argv.at(*i);
    const QString name = optionName(arg);
    bool fleet = false;
    const bool fleetOk = parseFleetOption(QLatin1String(spec.name), arg, o, &fleet, error);
    if (fleet)
        return fleetOk;
    auto refuse = [&] {
        *error = QCoreApplication::translate("CliOptions", "команда %1 не принимает параметр %2")
                         .arg(QLatin1String(spec.name), name);
        return false;
    };
    auto flag = [&](unsigned bit, bool *target) {
        if (!(spec.options & bit))
            return refuse();
        if (arg != name) {
            *error = QCoreApplication::translate("CliOptions", "параметр %1 не принимает значения")
                             .arg(name);
            return false;
        }
        *target = true;
        return true;
    };
    if (name == QLatin1String("--yes"))
        return flag(OptYes, &o->yes);
    if (name == QLatin1String("--profiles"))
        return flag(OptProfiles, &o->profiles);
    if (name == QLatin1String("--json"))
        return flag(OptJson, &o->json);
    if (name == QLatin1String("--recover"))
        return flag(OptRecover, &o->recover);
    if (name == QLatin1String("--port")) {
        if (!(spec.options & OptPorts))
            return refuse();
        QString v;
        if (!takeValue(argv, i, name, &v, error))
            return false;
        if (v.trimmed().isEmpty()) {
            *error = QCoreApplication::translate("CliOptions", "пустое имя порта");
            return false;
        }
        o->ports << v.trimmed();
        return true;
    }
    if (name == QLatin1String("--raw"))
        return flag(OptRaw, &o->raw);
    if (name == QLatin1String("--timeout")) {
        if (!(spec.options & OptTimeout))
            return refuse();
        QString v;
        if (!takeValue(argv, i, name, &v, error))
            return false;
        bool ok = false;
        const int ms = v.toInt(&ok, 10);
        if (!ok || ms < 1 || ms > 600000) {
            *error = QCoreApplication::translate(
                             "CliOptions",
                             "время ожидания должно быть от 1 до 600000 мс, а не «%1»")
                             .arg(v);
            return false;
        }
        o->timeoutMs = ms;
        return true;
    }
    if (name == QLatin1String("--channel")) {
        if (!(spec.options & OptChannel))
            return refuse();
        QString v;
        if (!takeValue(argv, i, name, &v, error))
            return false;
        if (v != QLatin1String("com") && v != QLatin1String("bt") && v != QLatin1String("none")) {
            *error = QCoreApplication::translate("CliOptions",
                                                 "канал должен быть com, bt или none, а не «%1»")
                             .arg(v);
            return false;
        }
        o->channel = v;
        return true;
    }
    *error = QCoreApplication::translate("CliOptions", "неизвестный параметр %1").arg(arg);
    return false;
}

// Checks that need the whole command line.
bool checkVerb(const VerbSpec &spec, CliOptions *o, QString *error)
{
    const QString verb = QLatin1String(spec.name);
    if (o->args.size() < spec.minArgs) {
        *error = QCoreApplication::translate("CliOptions", "команде %1 не хватает аргумента")
                         .arg(verb);
        return false;
    }
    if (o->args.size() > spec.maxArgs) {
        *error = QCoreApplication::translate("CliOptions", "лишний аргумент «%1» команды %2")
                         .arg(o->args.at(spec.maxArgs), verb);
        return false;
    }
    if (spec.modem && o->port.isEmpty()) {
        *error = QCoreApplication::translate("CliOptions",
                                             "команде %1 нужен порт: --port ИМЯ перед командой")
                         .arg(verb);
        return false;
    }
    // The line carries single bytes: any other character would go out as "?".
    const auto notLatin1 = [](const QString &text) {
        for (const QChar ch : text)
            if (ch.unicode() > 0xFF)
                return true;
        return false;
    };
    if ((verb == QLatin1String("send") || verb == QLatin1String("auth"))
        && notLatin1(o->args.at(0))) {
        *error = QCoreApplication::translate(
                         "CliOptions", "команда %1: символы вне Latin-1 не передаются по линии")
                         .arg(verb);
        return false;
    }
    if ((verb == QLatin1String("send") || verb == QLatin1String("save")
         || verb == QLatin1String("report"))
        && o->args.at(0).isEmpty()) {
        *error = QCoreApplication::translate("CliOptions", "команде %1 нужен непустой аргумент")
                         .arg(verb);
        return false;
    }
    if (verb == QLatin1String("send") && LineValues::breaksLine(o->args.at(0))) {
        *error = QCoreApplication::translate(
                "CliOptions", "строка команды содержит перевод строки или нулевой символ");
        return false;
    }
    if (verb == QLatin1String("auth") && LineValues::breaksLine(o->args.at(0))) {
        *error = QCoreApplication::translate("CliOptions",
                                             "код содержит перевод строки или нулевой символ");
        return false;
    }
    if (verb == QLatin1String("reset") && !o->yes && !o->dryRun) {
        *error = QCoreApplication::translate(
                "CliOptions",
                "сброс заменяет всю конфигурацию модема настройками по "
                "умолчанию; подтвердите его параметром --yes");
        return false;
    }
    if (verb == QLatin1String("mode")) {
        if (o->args.isEmpty()) {
            if (!o->channel.isEmpty()) {
                *error = QCoreApplication::translate(
                        "CliOptions", "параметр --channel используется только с mode set");
                return false;
            }
            return true;
        }
        if (o->args.at(0) != QLatin1String("set")) {
            *error = QCoreApplication::translate("CliOptions", "неизвестная команда mode %1")
                             .arg(o->args.at(0));
            return false;
        }
        if (o->channel.isEmpty()) {
            *error = QCoreApplication::translate("CliOptions",
                                                 "mode set: укажите канал: --channel com|bt|none");
            return false;
        }
        const bool none = o->channel == QLatin1String("none");
        if (!none && o->args.value(1).isEmpty()) {
            *error = QCoreApplication::translate("CliOptions",
                                                 "mode set: не указана команда режима");
            return false;
        }
        if (none && o->args.size() > 1) {
            *error = QCoreApplication::translate(
                    "CliOptions", "mode set: с --channel none команда не указывается");
            return false;
        }
    }
    return true;
}

} // namespace

int parseLangOption(const QStringList &argv, int *i, CliOptions *o, QString *error)
{
    const QString &arg = argv.at(*i);
    const QString name = QStringLiteral("--lang");
    QString value;
    if (arg == name) {
        if (*i + 1 >= argv.size()) {
            *error = QCoreApplication::translate("CliOptions", "параметру %1 нужно значение")
                             .arg(name);
            return 0;
        }
        value = argv.at(++*i);
    } else if (arg.startsWith(name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 1);
    } else {
        return -1;
    }
    // The language is installed before the options are parsed; here only
    // its spelling is checked.
    if (!UiLanguage::isOptionValue(value)) {
        *error = QCoreApplication::translate("CliOptions",
                                             "--lang: язык должен быть en или ru, а не «%1»")
                         .arg(value);
        return 0;
    }
    o->lang = value;
    return 1;
}

bool verbNeedsModem(const QString &verb)
{
    const VerbSpec *spec = findVerb(verb);
    return spec && spec->modem;
}

bool parseOptions(const QStringList &argv, CliOptions *out, QString *error)
{
    CliOptions o;
    int i = 0;
    // Connection options, up to the command.
    for (; i < argv.size(); ++i) {
        const QString &arg = argv.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
            *out = o;
            return true;
        }
        if (arg == QLatin1String("--version")) {
            o.version = true;
            *out = o;
            return true;
        }
        if (arg == QLatin1String("--debug")) {
            o.debug = true;
            continue;
        }
        if (arg == QLatin1String("--quiet")) {
            o.quiet = true;
            continue;
        }
        if (const int taken = parseLogOption(argv, &i, &o, error); taken >= 0) {
            if (taken == 0)
                return false;
            continue;
        }
        if (const int taken = parseLangOption(argv, &i, &o, error); taken >= 0) {
            if (taken == 0)
                return false;
            continue;
        }
        if (!arg.startsWith(QLatin1Char('-')))
            break;
        if (!parseConnectionOption(argv, &i, &o, error))
            return false;
    }
    if (i >= argv.size()) {
        *error = QCoreApplication::translate("CliOptions", "не указана команда");
        return false;
    }
    o.verb = argv.at(i++);
    const VerbSpec *spec = findVerb(o.verb);
    if (!spec) {
        *error = QCoreApplication::translate("CliOptions", "неизвестная команда %1").arg(o.verb);
        return false;
    }

    // The command's arguments and options, in any order; "--" ends the options
    // so that an argument may begin with a dash.
    bool optionsEnded = false;
    for (; i < argv.size(); ++i) {
        const QString &arg = argv.at(i);
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            o.help = true;
            *out = o;
            return true;
        }
        if (!optionsEnded && arg == QLatin1String("--debug")) {
            o.debug = true;
            continue;
        }
        if (!optionsEnded) {
            if (const int taken = parseLogOption(argv, &i, &o, error); taken >= 0) {
                if (taken == 0)
                    return false;
                continue;
            }
            if (const int taken = parseLangOption(argv, &i, &o, error); taken >= 0) {
                if (taken == 0)
                    return false;
                continue;
            }
        }
        if (!optionsEnded && arg == QLatin1String("--quiet")) {
            o.quiet = true;
            continue;
        }
        if (!optionsEnded && arg.startsWith(QLatin1String("--"))) {
            if (!parseVerbOption(argv, &i, *spec, &o, error))
                return false;
            continue;
        }
        o.args << arg;
    }
    if (!checkVerb(*spec, &o, error) || !checkFleet(&o, error))
        return false;
    *out = o;
    return true;
}

QString usageText()
{
    return QCoreApplication::translate(
            "CliOptions",
            "Использование: kzconfig-cli [параметры соединения] КОМАНДА [аргументы]\n"
            "\n"
            "Параметры соединения (перед командой):\n"
            "  --port ИМЯ           последовательный порт модема (нужен командам с модемом)\n"
            "  --baud N|auto        скорость, по умолчанию 115200; auto: найти скорость модема\n"
            "  --data 8|7           биты данных\n"
            "  --parity N|E|O       чётность\n"
            "  --stop 1|2           стоп-биты\n"
            "  --debug              обмен с модемом на стандартный поток ошибок\n"
            "  --log ФАЙЛ           журнал обмена в файл (дописывается построчно)\n"
            "  --log-secrets        не скрывать в журнале пароли, PIN и коды\n"
            "  --quiet              без сообщений о ходе работы\n"
            "  --lang en|ru         язык сообщений (иначе KZCONFIG_LANG, затем язык системы)\n"
            "  --help, -h           эта справка\n"
            "  --version            версия программы\n"
            "  Порт можно указать несколько раз: команда выполняется на всех сразу;\n"
            "  в именах файлов {port} и {serial} дают имя порта и серийный номер.\n"
            "\n"
            "Команды:\n"
            "  ports [--json]                список последовательных портов\n"
            "  detect [--port ИМЯ]... [--json]\n"
            "                                найти модем и его скорость\n"
            "  start-app                     запустить приложение модема\n"
            "  info [--json]                 сведения о модеме\n"
            "  read                          вся конфигурация модема в JSON\n"
            "  diff ФАЙЛ [--json]            отличия модема от набора настроек\n"
            "  bt-scan                       поиск устройств Bluetooth\n"
            "  send СТРОКА [--timeout МС]    отправить команду и показать ответ\n"
            "  auth КОД                      выполнить привилегированную команду\n"
            "  mode [--json]                 режим работы (команда автозапуска)\n"
            "  mode set КОМАНДА --channel com|bt|none [--dry-run]\n"
            "                                записать команду автозапуска\n"
            "  save ФАЙЛ                     сохранить набор настроек (*.kzini)\n"
            "  apply ФАЙЛ [--yes] [--dry-run] загрузить набор настроек в модем\n"
            "  reset --yes | --dry-run       записать настройки по умолчанию\n"
            "  fwinfo ФАЙЛ [--json]          описание файла прошивки (*.kzbin)\n"
            "  flash ФАЙЛ [--yes] [--recover]\n"
            "                                обновить ПО модема (--recover: модема без "
            "приложения)\n"
            "  report ФАЙЛ [--profiles]      собрать отчёт (*.kzrep)\n"
            "  report-show ФАЙЛ [--raw]      показать текст отчёта (--raw: байты как есть)\n"
            "  --dry-run: показать команды записи, ничего не записывая;\n"
            "  --json: вывод одним документом JSON.\n"
            "\n"
            "Код выхода: 0 успех, 1 ошибка операции (сообщение на потоке ошибок),\n"
            "2 ошибка в командной строке (в том числе reset без --yes),\n"
            "3 diff нашёл отличия.\n");
}

QString shortUsageText()
{
    return QCoreApplication::translate(
            "CliOptions",
            "Использование: kzconfig-cli [--port ИМЯ] [--baud N|auto] [--data 8|7] "
            "[--parity N|E|O] [--stop 1|2] [--debug] [--quiet] [--log ФАЙЛ] [--log-secrets] "
            "[--lang en|ru] КОМАНДА [аргументы]\n"
            "Команды: ports, detect, start-app, info, read, diff, bt-scan, send, auth, mode, save, "
            "apply, "
            "reset, fwinfo, flash, report, report-show. Подробнее: kzconfig-cli "
            "--help");
}
