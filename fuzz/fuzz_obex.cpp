// OBEX responses come from the modem over a line that may garble them.
#include "obex/obex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    Obex::ConnectPacket connect(bytes);
    Obex::PutPacket put(bytes);
    Obex::GetPacket get(bytes);
    Obex::UnknownPacket unknown(bytes);
    // Whatever was decoded must encode again, and copies must be independent.
    (void)connect.toByteArray();
    (void)put.toByteArray();
    (void)get.toByteArray();
    (void)unknown.toByteArray();
    Obex::PutPacket copy(put);
    copy.addHeader(std::make_unique<Obex::ByteArrayHeader>(Obex::HeaderBody, QByteArray("x")));
    (void)copy.packetLength();
    if (!bytes.isEmpty()) {
        auto header = Obex::parseHeader(bytes);
        if (!header || header->size() < 2)
            __builtin_trap();
        (void)header->toByteArray();
    }
    return 0;
}
