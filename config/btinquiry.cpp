#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

namespace {
// A search lists the devices in range; a modem that never ends the list must
// not hold the worker for ever.
constexpr int MaxInquiryLines = 1000;
constexpr int InquiryLineMs = 33000;
} // namespace

void KZConfigThread::bluetoothInquiry()
{
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("bluetoothInquiry"));
    drainInput();
    sendCommand(QStringLiteral("AT+BTINQ?"));
    btInquiryList.clear();
    for (int i = 0; i < MaxInquiryLines; ++i) {
        if (!waitReply(InquiryLineMs)) {
            emit opCompleted(OpBluetoothInquiry, false,
                             lineLost() ? QStringLiteral("Line lost") : QStringLiteral("Timeout"));
            return;
        }
        if (lastReply().contains(QLatin1String("ERROR"))) {
            emit opCompleted(OpBluetoothInquiry, false, lastReply());
            return;
        }
        if (lastReply().contains(QLatin1String("OK"))) {
            emit opCompleted(OpBluetoothInquiry, true, QString());
            return;
        }
        btInquiryList.append(lastReply());
    }
    emit opCompleted(OpBluetoothInquiry, false, QStringLiteral("Too many lines"));
}
