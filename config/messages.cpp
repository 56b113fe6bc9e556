#include "config/messages.h"

#include <QCoreApplication>

namespace Messages {
const char *const openPort = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось открыть порт. Проверьте настройки.");
const char *const handshake = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось установить соединение с модемом. Убедитесь, что он действительно "
        "подключен к указанному порту. Проверьте настройки соединения.");
const char *const info = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось получить информацию о модеме. Проверьте, что к указанному порту "
        "подключен именно модем ORB KZ520.");
const char *const firmware = QT_TRANSLATE_NOOP("Messages", "Не удалось обновить ПО модема.");
const char *const privileged = QT_TRANSLATE_NOOP(
        "Messages",
        "При выполнении команды произошла ошибка. Проверьте корректность кода и его "
        "применимость к данному модему.");
const char *const command = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось выполнить команду. Попробуйте отключиться от модема, подключиться "
        "ещё раз и выполнить настройку заново.");
const char *const readSettings = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось получить текущие настройки модема. Попробуйте отключиться от модема "
        "и подключиться заново.");
const char *const firmwareFile = QT_TRANSLATE_NOOP("Messages", "Не удалось открыть файл прошивки");
const char *const firmwareOverBluetooth = QT_TRANSLATE_NOOP(
        "Messages",
        "Обновление ПО через Bluetooth невозможно. Переподключитесь к модему через "
        "COM-порт.");

const char *const openPortStatus = QT_TRANSLATE_NOOP("Messages", "Не удалось открыть порт.");
const char *const handshakeStatus = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось соединиться с модемом.");
const char *const infoStatus = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось получить информацию о модеме.");
const char *const commandStatus = QT_TRANSLATE_NOOP("Messages", "Не удалось выполнить команду.");
const char *const readSettingsStatus = QT_TRANSLATE_NOOP(
        "Messages",
        "Не удалось получить настройки.");

QString text(const char *message)
{
    return QCoreApplication::translate("Messages", message);
}
} // namespace Messages
