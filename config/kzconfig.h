#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

struct GprsProfile {
    QString name;
    QString apn;
    QString username;
    QString password;

    bool operator==(const GprsProfile &o) const
    {
        return name == o.name && apn == o.apn && username == o.username && password == o.password;
    }
    bool operator!=(const GprsProfile &o) const { return !(*this == o); }
};

struct NtripProfile {
    QString name;
    QString address;
    QString port; // text, exactly as the modem reports it
    QString mountpoint;
    QString clientLogin;
    QString clientPassword;
    QString serverPassword;
    QString sourcetable;

    bool operator==(const NtripProfile &o) const
    {
        return name == o.name && address == o.address && port == o.port
                && mountpoint == o.mountpoint && clientLogin == o.clientLogin
                && clientPassword == o.clientPassword && serverPassword == o.serverPassword
                && sourcetable == o.sourcetable;
    }
    bool operator!=(const NtripProfile &o) const { return !(*this == o); }
};

// One modem's configuration as a plain value. Qt's implicitly shared
// containers detach on write, so copies never share observable state.
class KZConfig
{
public:
    enum Group {
        ConfigBaudrate = 0x01,
        ConfigFraming = 0x02,
        ConfigFlow = 0x04,
        ConfigCom = 0x07,
        ConfigGprs = 0x08,
        ConfigNtrip = 0x10,
        ConfigDyndns = 0x20,
        ConfigAutoexec = 0x40,
        ConfigBluetooth = 0x80,
        ConfigAll = 0xFF
    };

    QString autoexecBt;
    QString autoexecCom;
    int btMode = 0;
    QString btMac;
    QString btPin;
    int baudrate = 19; // baud-rate code (115200)
    int framing = 0;   // framing table index ("8N1")
    int flow = 0;      // flow value ("OFF")
    QList<GprsProfile> gprsProfiles;
    QList<NtripProfile> ntripProfiles;
    QString dyndnsLogin;
    QString dyndnsPassword;
    QString dyndnsDomain;

    bool operator==(const KZConfig &o) const;
    bool operator!=(const KZConfig &o) const { return !(*this == o); }

    // Registers "KZConfig" with the meta-type system (queued calls carry it).
    static void registerMetaType();
};

Q_DECLARE_METATYPE(KZConfig)

// The lookup tables between the record's serial members and the modem's
// AT parameters. Each table ends with a terminating row (baud -1, empty name);
// searches stop there.
namespace KZTables {

struct BaudRow {
    int baud;
    int code;
};
struct FramingRow {
    const char *name;
    const char *icf;
    int dataBits;
    int parity;
    int stopBits;
};
struct FlowRow {
    const char *name;
    const char *ifc;
    int value;
};

extern const BaudRow baudTable[];
extern const FramingRow framingTable[];
extern const FlowRow flowTable[];

int baudCount();    // rows before the terminator (11)
int framingCount(); // 5
int flowCount();    // 1

// -1 when there is no such row.
int codeForBaud(int baud);
int baudForCode(int code);
int baudIndexForCode(int code);
int framingIndexForIcf(const QString &icf);
int flowIndexForValue(int value);

bool validBaudIndex(int index);
bool validFramingIndex(int index);
bool validFlowIndex(int index);

// Serial-library codes used by the link.
enum DataBitsCode { Data7 = 2, Data8 = 3 };
enum ParityCode { ParNone = 0, ParOdd = 1, ParEven = 2 };
enum StopBitsCode { Stop1 = 0, Stop2 = 2 };
enum FlowCode { FlowOff = 0 };

} // namespace KZTables
