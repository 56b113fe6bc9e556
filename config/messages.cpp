#include "config/messages.h"

namespace Messages {
const char *const openPort = "Не удалось открыть порт. Проверьте настройки.";
const char *const handshake = "Не удалось установить соединение с модемом. Убедитесь, что он "
                              "действительно подключен к указанному порту. Проверьте настройки "
                              "соединения.";
const char *const info = "Не удалось получить информацию о модеме. Проверьте, что к указанному "
                         "порту подключен именно модем ORB KZ520.";
const char *const firmware = "Не удалось обновить ПО модема.";
const char *const privileged = "При выполнении команды произошла ошибка. Проверьте корректность "
                               "кода и его применимость к данному модему.";
const char *const command = "Не удалось выполнить команду. Попробуйте отключиться от модема, "
                            "подключиться ещё раз и выполнить настройку заново.";
const char *const readSettings = "Не удалось получить текущие настройки модема. Попробуйте "
                                 "отключиться от модема и подключиться заново.";
const char *const firmwareFile = "Не удалось открыть файл прошивки";
const char *const firmwareOverBluetooth = "Обновление ПО через Bluetooth невозможно. "
                                          "Переподключитесь к модему через COM-порт.";

const char *const openPortStatus = "Не удалось открыть порт.";
const char *const handshakeStatus = "Не удалось соединиться с модемом.";
const char *const infoStatus = "Не удалось получить информацию о модеме.";
const char *const commandStatus = "Не удалось выполнить команду.";
const char *const readSettingsStatus = "Не удалось получить настройки.";

QString text(const char *message)
{
    return QString::fromUtf8(message);
}
} // namespace Messages
