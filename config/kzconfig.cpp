#include "config/kzconfig.h"

bool KZConfig::operator==(const KZConfig &o) const
{
    return autoexecBt == o.autoexecBt && autoexecCom == o.autoexecCom && btMode == o.btMode
            && btMac == o.btMac && btPin == o.btPin && baudrate == o.baudrate
            && framing == o.framing && flow == o.flow && gprsProfiles == o.gprsProfiles
            && ntripProfiles == o.ntripProfiles && dyndnsLogin == o.dyndnsLogin
            && dyndnsPassword == o.dyndnsPassword && dyndnsDomain == o.dyndnsDomain;
}

void KZConfig::registerMetaType()
{
    qRegisterMetaType<KZConfig>("KZConfig");
}

namespace KZTables {

const BaudRow baudTable[] = {
    { 300, 6 },    { 600, 7 },    { 1200, 8 },   { 2400, 10 },  { 4800, 11 },   { 9600, 12 },
    { 14400, 13 }, { 19200, 14 }, { 38400, 15 }, { 57600, 17 }, { 115200, 19 }, { -1, -1 },
};

const FramingRow framingTable[] = {
    { "8N1", "3", Data8, ParNone, Stop1 },   { "8O1", "2,0", Data8, ParOdd, Stop1 },
    { "8E1", "2,1", Data8, ParEven, Stop1 }, { "7O1", "5,0", Data7, ParOdd, Stop1 },
    { "7E1", "5,1", Data7, ParEven, Stop1 }, { "", "", 0, 0, 0 },
};

const FlowRow flowTable[] = {
    { "OFF", "0,0", FlowOff },
    { "", "", 0 },
};

int baudCount()
{
    int n = 0;
    while (baudTable[n].baud != -1)
        ++n;
    return n;
}

int framingCount()
{
    int n = 0;
    while (framingTable[n].name[0] != '\0')
        ++n;
    return n;
}

int flowCount()
{
    int n = 0;
    while (flowTable[n].name[0] != '\0')
        ++n;
    return n;
}

int codeForBaud(int baud)
{
    for (int i = 0; baudTable[i].baud != -1; ++i)
        if (baudTable[i].baud == baud)
            return baudTable[i].code;
    return -1;
}

int baudForCode(int code)
{
    const int i = baudIndexForCode(code);
    return i < 0 ? -1 : baudTable[i].baud;
}

int baudIndexForCode(int code)
{
    for (int i = 0; baudTable[i].baud != -1; ++i)
        if (baudTable[i].code == code)
            return i;
    return -1;
}

int framingIndexForIcf(const QString &icf)
{
    for (int i = 0; framingTable[i].name[0] != '\0'; ++i)
        if (icf == QLatin1String(framingTable[i].icf))
            return i;
    return -1;
}

int flowIndexForValue(int value)
{
    for (int i = 0; flowTable[i].name[0] != '\0'; ++i)
        if (flowTable[i].value == value)
            return i;
    return -1;
}

bool validBaudIndex(int index) { return index >= 0 && index < baudCount(); }
bool validFramingIndex(int index) { return index >= 0 && index < framingCount(); }
bool validFlowIndex(int index) { return index >= 0 && index < flowCount(); }

} // namespace KZTables
