#pragma once

#include <QString>
#include <QStringList>

// The operating-mode (autostart) command: built from the editor's values and
// parsed back into them. No widgets: the window maps controls to Values.
class AutoMode
{
public:
    // Button ids: high byte the mode's ordinal, low byte its property bits.
    enum Bit { Base = 0x01, Rover = 0x02, Gprs = 0x04, Dyndns = 0x08 };
    enum Mode {
        BaseCsd = 0x101,         // 257
        BaseTcp = 0x20D,         // 525
        BaseNtripServer = 0x305, // 773
        BaseNtripCaster = 0x40D, // 1037
        RoverCsd = 0x502,        // 1282
        RoverTcp = 0x606,        // 1542
        RoverNtrip = 0x706       // 1798
    };
    static const int modes[7];
    static bool isMode(int id);

    // What the controls hold; selectors as their current text (empty: no item).
    struct Values {
        int mode = BaseTcp;
        bool restart = false;
        QString baseGprs;
        QString roverGprs;
        QString baseTcpPort;
        QString roverCsdNumber;
        QString roverTcpAddress;
        QString roverTcpPort;
        QString baseNtripServer;
        QString baseNtripCaster;
        QString roverNtrip;
    };

    // Empty for an id that is no mode.
    static QString build(const Values &v);

    struct Parsed {
        bool recognised = false; // false: no known prefix, the mode stays as it was
        int mode = 0;
        bool reconnectRead = false; // the dial forms set the reconnect switch
        bool reconnect = false;
        bool gprsRead = false;
        QString gprs; // an empty G read is "default"
        bool ntripRead = false;
        QString ntrip;
        // The fields of the mode: the window sets those of `mode` (rover TCP:
        // address and port; base TCP: port; rover CSD: number), empty when
        // the command did not hold them.
        QString roverTcpAddress;
        QString roverTcpPort;
        QString baseTcpPort;
        QString roverCsdNumber;
    };

    // Which of the modem's two autostart commands is in force, and its text.
    enum class Channel { None, Bt, Com };
    struct Autostart {
        Channel channel = Channel::None;
        QString command;
    };
    // The Bluetooth command wins when both are set.
    static Autostart autostart(const QString &autoexecBt, const QString &autoexecCom);

    // Prefixes are tested in upper case; the mode codes case-sensitively.
    static Parsed parse(const QString &command);

    // Puts a parse result into the values as the window does: G and N select
    // the profile of that name, or no item when none has it.
    static void apply(const Parsed &p, Values *v, const QStringList &gprsNames,
                      const QStringList &ntripNames);

    // Which controls a mode enables.
    struct Enables {
        bool baseDyndns = false;      // conBaseDyndnsEnabled, conBaseDyndnsEdit
        bool baseGprs = false;        // conBaseGprsSelect, conBaseGprsEdit
        bool baseNtripCaster = false; // the four caster controls
        bool baseNtripServer = false; // the four server controls
        bool baseTcpPort = false;
        bool roverCsdNumber = false;
        bool roverGprs = false;       // conRoverGprsSelect, conRoverGprsEdit
        bool roverNtrip = false;      // the four rover NTRIP controls
        bool roverTcp = false;        // conRoverTcpAddress, conRoverTcpPort
        bool restart = false;
    };
    static Enables enables(int mode);

    // Whether the command shown differs from what the modem holds, so that
    // closing the window should ask.
    static bool unsaved(const QString &command, bool autostartBt, bool autostartCom,
                        const QString &autoexecBt, const QString &autoexecCom);
};
