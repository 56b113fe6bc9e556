<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>AppState</name>
    <message>
        <source>Приложение модема не запущено. Возможно, было прервано обновление ПО.</source>
        <translation>The modem application is not running. A firmware update may have been interrupted.</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>ошибка</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>Связь с модемом потеряна.</source>
        <translation>Connection to the modem lost.</translation>
    </message>
    <message>
        <source>Настройки не применены: для применения укажите --yes.</source>
        <translation>Settings not applied: give --yes to apply them.</translation>
    </message>
    <message>
        <source>Последовательные порты не найдены.</source>
        <translation>No serial ports found.</translation>
    </message>
    <message>
        <source>Приложение модема работает: --recover только для модема без приложения. Обновите ПО без --recover.</source>
        <translation>The modem application is running: --recover is only for a modem without its application. Update the firmware without --recover.</translation>
    </message>
    <message>
        <source>Обновление не начато: для обновления укажите --yes.</source>
        <translation>Update not started: give --yes to update.</translation>
    </message>
    <message>
        <source>Подождите, идёт сбор данных...</source>
        <translation>Please wait, collecting data...</translation>
    </message>
    <message>
        <source>Отчёт не собран: модем не закончил ответы.</source>
        <translation>Report not collected: the modem did not finish its replies.</translation>
    </message>
    <message>
        <source>Не удалось сохранить отчёт в файл «%1»: %2.</source>
        <translation>Could not save the report to &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Отчёт сохранён не полностью: связь с модемом потеряна.</source>
        <translation>Report saved incomplete: connection to the modem lost.</translation>
    </message>
    <message>
        <source>Отчёт сохранён.</source>
        <translation>Report saved.</translation>
    </message>
    <message>
        <source>Строка ответа модема длиннее %1 байт: ответ не принят.</source>
        <translation>A reply line from the modem is longer than %1 bytes: reply rejected.</translation>
    </message>
    <message>
        <source>Модем не ответил «OK» или «ERROR» за %1 мс.</source>
        <translation>The modem did not answer &quot;OK&quot; or &quot;ERROR&quot; within %1 ms.</translation>
    </message>
    <message>
        <source>Не удалось запустить приложение модема.</source>
        <translation>Could not start the modem application.</translation>
    </message>
</context>
<context>
    <name>CliOptions</name>
    <message>
        <source>--log: не указан файл</source>
        <translation>--log: no file given</translation>
    </message>
    <message>
        <source>параметру %1 нужно значение</source>
        <translation>option %1 needs a value</translation>
    </message>
    <message>
        <source>--lang: язык должен быть en или ru, а не «%1»</source>
        <translation>--lang: the language must be en or ru, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>пустое имя порта</source>
        <translation>empty port name</translation>
    </message>
    <message>
        <source>недопустимая скорость «%1»</source>
        <translation>invalid baud rate &quot;%1&quot;</translation>
    </message>
    <message>
        <source>число бит данных должно быть 8 или 7, а не «%1»</source>
        <translation>data bits must be 8 or 7, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>чётность должна быть N, E или O, а не «%1»</source>
        <translation>parity must be N, E or O, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>число стоп-бит должно быть 1 или 2, а не «%1»</source>
        <translation>stop bits must be 1 or 2, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>неизвестный параметр %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>команда %1 не принимает параметр %2</source>
        <translation>command %1 does not take option %2</translation>
    </message>
    <message>
        <source>параметр %1 не принимает значения</source>
        <translation>option %1 takes no value</translation>
    </message>
    <message>
        <source>параметр --dry-run используется только с mode set</source>
        <translation>option --dry-run goes only with mode set</translation>
    </message>
    <message>
        <source>команда %1 работает только с одним портом</source>
        <translation>command %1 works on one port only</translation>
    </message>
    <message>
        <source>порт %1 указан дважды</source>
        <translation>port %1 given twice</translation>
    </message>
    <message>
        <source>с несколькими портами имя файла должно содержать {port} или {serial}</source>
        <translation>with several ports the file name must contain {port} or {serial}</translation>
    </message>
    <message>
        <source>время ожидания должно быть от 1 до 600000 мс, а не «%1»</source>
        <translation>the timeout must be 1 to 600000 ms, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>канал должен быть com, bt или none, а не «%1»</source>
        <translation>the channel must be com, bt or none, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>команде %1 не хватает аргумента</source>
        <translation>command %1 is missing an argument</translation>
    </message>
    <message>
        <source>лишний аргумент «%1» команды %2</source>
        <translation>extra argument &quot;%1&quot; for command %2</translation>
    </message>
    <message>
        <source>команде %1 нужен порт: --port ИМЯ перед командой</source>
        <translation>command %1 needs a port: --port NAME before the command</translation>
    </message>
    <message>
        <source>команда %1: символы вне Latin-1 не передаются по линии</source>
        <translation>command %1: characters outside Latin-1 cannot be sent over the line</translation>
    </message>
    <message>
        <source>команде %1 нужен непустой аргумент</source>
        <translation>command %1 needs a non-empty argument</translation>
    </message>
    <message>
        <source>строка команды содержит перевод строки или нулевой символ</source>
        <translation>the command line contains a line break or a NUL character</translation>
    </message>
    <message>
        <source>код содержит перевод строки или нулевой символ</source>
        <translation>the code contains a line break or a NUL character</translation>
    </message>
    <message>
        <source>сброс заменяет всю конфигурацию модема настройками по умолчанию; подтвердите его параметром --yes</source>
        <translation>reset replaces the modem&apos;s whole configuration with the defaults; confirm it with --yes</translation>
    </message>
    <message>
        <source>параметр --channel используется только с mode set</source>
        <translation>option --channel goes only with mode set</translation>
    </message>
    <message>
        <source>неизвестная команда mode %1</source>
        <translation>unknown command mode %1</translation>
    </message>
    <message>
        <source>mode set: укажите канал: --channel com|bt|none</source>
        <translation>mode set: give the channel: --channel com|bt|none</translation>
    </message>
    <message>
        <source>mode set: не указана команда режима</source>
        <translation>mode set: no mode command given</translation>
    </message>
    <message>
        <source>mode set: с --channel none команда не указывается</source>
        <translation>mode set: --channel none takes no command</translation>
    </message>
    <message>
        <source>не указана команда</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>неизвестная команда %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <source>Использование: kzconfig-cli [параметры соединения] КОМАНДА [аргументы]

Параметры соединения (перед командой):
  --port ИМЯ           последовательный порт модема (нужен командам с модемом)
  --baud N|auto        скорость, по умолчанию 115200; auto: найти скорость модема
  --data 8|7           биты данных
  --parity N|E|O       чётность
  --stop 1|2           стоп-биты
  --debug              обмен с модемом на стандартный поток ошибок
  --log ФАЙЛ           журнал обмена в файл (дописывается построчно)
  --log-secrets        не скрывать в журнале пароли, PIN и коды
  --quiet              без сообщений о ходе работы
  --lang en|ru         язык сообщений (иначе KZCONFIG_LANG, затем язык системы)
  --help, -h           эта справка
  --version            версия программы
  Порт можно указать несколько раз: команда выполняется на всех сразу;
  в именах файлов {port} и {serial} дают имя порта и серийный номер.

Команды:
  ports [--json]                список последовательных портов
  detect [--port ИМЯ]... [--json]
                                найти модем и его скорость
  start-app                     запустить приложение модема
  info [--json]                 сведения о модеме
  read                          вся конфигурация модема в JSON
  diff ФАЙЛ [--json]            отличия модема от набора настроек
  bt-scan                       поиск устройств Bluetooth
  send СТРОКА [--timeout МС]    отправить команду и показать ответ
  auth КОД                      выполнить привилегированную команду
  mode [--json]                 режим работы (команда автозапуска)
  mode set КОМАНДА --channel com|bt|none [--dry-run]
                                записать команду автозапуска
  save ФАЙЛ                     сохранить набор настроек (*.kzini)
  apply ФАЙЛ [--yes] [--dry-run] загрузить набор настроек в модем
  reset --yes | --dry-run       записать настройки по умолчанию
  fwinfo ФАЙЛ [--json]          описание файла прошивки (*.kzbin)
  flash ФАЙЛ [--yes] [--recover]
                                обновить ПО модема (--recover: модема без приложения)
  report ФАЙЛ [--profiles]      собрать отчёт (*.kzrep)
  report-show ФАЙЛ [--raw]      показать текст отчёта (--raw: байты как есть)
  --dry-run: показать команды записи, ничего не записывая;
  --json: вывод одним документом JSON.

Код выхода: 0 успех, 1 ошибка операции (сообщение на потоке ошибок),
2 ошибка в командной строке (в том числе reset без --yes),
3 diff нашёл отличия.
</source>
        <translation>Usage: kzconfig-cli [connection options] COMMAND [arguments]

Connection options (before the command):
  --port NAME          the modem&apos;s serial port (needed by commands that talk to a modem)
  --baud N|auto        baud rate, 115200 by default; auto: find the modem&apos;s baud rate
  --data 8|7           data bits
  --parity N|E|O       parity
  --stop 1|2           stop bits
  --debug              the exchange with the modem on standard error
  --log FILE           exchange log to FILE (appended line by line)
  --log-secrets        do not hide passwords, PINs and codes in the log
  --quiet              no progress messages
  --lang en|ru         language of the messages (else KZCONFIG_LANG, then the system&apos;s)
  --help, -h           this help
  --version            program version
  The port may be given several times: the command runs on all of them at once;
  in file names {port} and {serial} stand for the port name and the serial number.

Commands:
  ports [--json]                list serial ports
  detect [--port NAME]... [--json]
                                find the modem and its baud rate
  start-app                     start the modem application
  info [--json]                 modem information
  read                          the modem&apos;s whole configuration as JSON
  diff FILE [--json]            differences between the modem and a configuration set
  bt-scan                       search for Bluetooth devices
  send LINE [--timeout MS]      send a command and show the reply
  auth CODE                     run a privileged command
  mode [--json]                 operating mode (the autostart command)
  mode set COMMAND --channel com|bt|none [--dry-run]
                                write the autostart command
  save FILE                     save a configuration set (*.kzini)
  apply FILE [--yes] [--dry-run] load a configuration set into the modem
  reset --yes | --dry-run       write the default settings
  fwinfo FILE [--json]          describe a firmware file (*.kzbin)
  flash FILE [--yes] [--recover]
                                update the modem firmware (--recover: a modem without its application)
  report FILE [--profiles]      collect a report (*.kzrep)
  report-show FILE [--raw]      show a report&apos;s text (--raw: the bytes as they are)
  --dry-run: show the commands a write would send, writing nothing;
  --json: output as one JSON document.

Exit status: 0 success, 1 an operation failed (message on standard error),
2 a command-line error (reset without --yes included),
3 diff found differences.
</translation>
    </message>
    <message>
        <source>Использование: kzconfig-cli [--port ИМЯ] [--baud N|auto] [--data 8|7] [--parity N|E|O] [--stop 1|2] [--debug] [--quiet] [--log ФАЙЛ] [--log-secrets] [--lang en|ru] КОМАНДА [аргументы]
Команды: ports, detect, start-app, info, read, diff, bt-scan, send, auth, mode, save, apply, reset, fwinfo, flash, report, report-show. Подробнее: kzconfig-cli --help</source>
        <translation>Usage: kzconfig-cli [--port NAME] [--baud N|auto] [--data 8|7] [--parity N|E|O] [--stop 1|2] [--debug] [--quiet] [--log FILE] [--log-secrets] [--lang en|ru] COMMAND [arguments]
Commands: ports, detect, start-app, info, read, diff, bt-scan, send, auth, mode, save, apply, reset, fwinfo, flash, report, report-show. More: kzconfig-cli --help</translation>
    </message>
</context>
<context>
    <name>ConfigSet</name>
    <message>
        <source>Недопустимое значение «%1» ключа %2 в файле набора настроек.</source>
        <translation>Invalid value “%1” of key %2 in the configuration set file.</translation>
    </message>
    <message>
        <source>Имя элемента %1 массива %2 в файле набора настроек не читается как текст.</source>
        <translation>The name of item %1 of array %2 in the configuration set file cannot be read as text.</translation>
    </message>
    <message>
        <source>В массиве %1 файла набора настроек указано элементов: %2, а элемента %3 с именем нет.</source>
        <translation>Array %1 of the configuration set file declares %2 items, but item %3 has no name.</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1: папка недоступна для записи.</source>
        <translation>Could not write file %1: the folder is not writable.</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1: файл защищён от записи.</source>
        <translation>Could not write file %1: the file is write-protected.</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1</source>
        <translation>Could not write file %1</translation>
    </message>
    <message>
        <source>: нет места для временного файла.</source>
        <translation>: no space for a temporary file.</translation>
    </message>
    <message>
        <source>Файл не является набором настроек или не читается: %1</source>
        <translation>The file is not a configuration set or cannot be read: %1</translation>
    </message>
    <message>
        <source>В наборе настроек нет групп: %1. Набор не применён.</source>
        <translation>The configuration set lacks these groups: %1. The set was not applied.</translation>
    </message>
    <message>
        <source>Выбранные настройки предназначены для модема %1 с версией ПО %2.<byte value="xd"/>
Подключен модем %3 с версией ПО %4.<byte value="xd"/>
Различие в версиях может привести к несовместимости настроек. Применить настройки?</source>
        <translation>The chosen settings were made for a %1 modem with firmware %2.<byte value="xd"/>
The connected modem is a %3 with firmware %4.<byte value="xd"/>
Settings may not be compatible between versions. Apply the settings?</translation>
    </message>
</context>
<context>
    <name>DdnsForm</name>
    <message>
        <source>Dialog</source>
        <translation>DynDNS</translation>
    </message>
    <message>
        <source>Домен</source>
        <translation>Domain</translation>
    </message>
    <message>
        <source>Пользователь</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
</context>
<context>
    <name>DeviceIdentity</name>
    <message>
        <source>Есть</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source> В</source>
        <translation> V</translation>
    </message>
    <message>
        <source>Отсутствует</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>ExchangeLogWindow</name>
    <message>
        <source>Журнал обмена</source>
        <translation>Exchange log</translation>
    </message>
    <message>
        <source>Не скрывать пароли и коды</source>
        <translation>Show passwords and codes</translation>
    </message>
    <message>
        <source>Сохранить...</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>[пропущено записей: %1]</source>
        <translation>[%1 entries skipped]</translation>
    </message>
</context>
<context>
    <name>FirmwareContainer</name>
    <message>
        <source>Файл прошивки повреждён: %1.</source>
        <translation>The firmware file is damaged: %1.</translation>
    </message>
    <message>
        <source>текст «%1» содержит управляющие символы</source>
        <translation>text “%1” contains control characters</translation>
    </message>
    <message>
        <source>это не контейнер прошивки</source>
        <translation>it is not a firmware container</translation>
    </message>
    <message>
        <source>неизвестная версия формата %1</source>
        <translation>unknown format version %1</translation>
    </message>
    <message>
        <source>Файл прошивки не открыт для чтения.</source>
        <translation>The firmware file is not open for reading.</translation>
    </message>
    <message>
        <source>файл короче заголовка</source>
        <translation>the file is shorter than its header</translation>
    </message>
    <message>
        <source>блок описания обрывается</source>
        <translation>the description block is cut short</translation>
    </message>
    <message>
        <source>блок описания не распаковывается</source>
        <translation>the description block does not decompress</translation>
    </message>
    <message>
        <source>описание обрывается</source>
        <translation>the description is cut short</translation>
    </message>
    <message>
        <source>нет числа файлов</source>
        <translation>the file count is missing</translation>
    </message>
    <message>
        <source>файл %1 из %2 обрывается</source>
        <translation>file %1 of %2 is cut short</translation>
    </message>
    <message>
        <source>файл %1 из %2 не распаковывается</source>
        <translation>file %1 of %2 does not decompress</translation>
    </message>
    <message>
        <source>распакованные данные больше %1 МиБ</source>
        <translation>the decompressed data exceed %1 MiB</translation>
    </message>
    <message>
        <source>у файла %1 из %2 нет имени</source>
        <translation>file %1 of %2 has no name</translation>
    </message>
</context>
<context>
    <name>FirmwareFit</name>
    <message>
        <source>Обновление предназначено для оборудования версий %1, у модема версия оборудования %2.</source>
        <translation>The update is made for hardware versions %1, the modem has hardware version %2.</translation>
    </message>
</context>
<context>
    <name>GprsForm</name>
    <message>
        <source>Профили GPRS</source>
        <translation>GPRS profiles</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Точка доступа</source>
        <translation>APN</translation>
    </message>
    <message>
        <source>Имя пользователя</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>KZConfigThread</name>
    <message>
        <source>Загрузка настроек COM: скорость</source>
        <translation>Reading COM settings: baud rate</translation>
    </message>
    <message>
        <source>Загрузка настроек COM: контроль потока</source>
        <translation>Reading COM settings: flow control</translation>
    </message>
    <message>
        <source>Загрузка настроек COM: формат кадра</source>
        <translation>Reading COM settings: framing</translation>
    </message>
    <message>
        <source>Загрузка профилей GPRS</source>
        <translation>Reading GPRS profiles</translation>
    </message>
    <message>
        <source>Загрузка профилей NTRIP</source>
        <translation>Reading NTRIP profiles</translation>
    </message>
    <message>
        <source>Загрузка настроек DynDNS</source>
        <translation>Reading DynDNS settings</translation>
    </message>
    <message>
        <source>Загрузка информации: Bluetooth</source>
        <translation>Reading device info: Bluetooth</translation>
    </message>
    <message>
        <source>Запуск приложения модема</source>
        <translation>Starting the modem application</translation>
    </message>
    <message>
        <source>Поиск модема: %1, %2</source>
        <translation>Searching for the modem: %1, %2</translation>
    </message>
    <message>
        <source>Поиск остановлен.</source>
        <translation>Search stopped.</translation>
    </message>
    <message>
        <source>Модем не отвечает ни на одной скорости.</source>
        <translation>The modem does not answer at any baud rate.</translation>
    </message>
    <message>
        <source>Подключение: AT &gt; AT</source>
        <translation>Connecting: AT &gt; AT</translation>
    </message>
    <message>
        <source>Подключение: ATE &gt; OK</source>
        <translation>Connecting: ATE &gt; OK</translation>
    </message>
    <message>
        <source>Подключение: AT &gt; OK</source>
        <translation>Connecting: AT &gt; OK</translation>
    </message>
    <message>
        <source>Подключение: AT &gt; ERROR</source>
        <translation>Connecting: AT &gt; ERROR</translation>
    </message>
    <message>
        <source>Подключение: AT &gt; ...</source>
        <translation>Connecting: AT &gt; ...</translation>
    </message>
    <message>
        <source>Подключение: +++ &gt; OK</source>
        <translation>Connecting: +++ &gt; OK</translation>
    </message>
    <message>
        <source>Подключение: ATH &gt; OK</source>
        <translation>Connecting: ATH &gt; OK</translation>
    </message>
    <message>
        <source>Открытие порта</source>
        <translation>Opening the port</translation>
    </message>
    <message>
        <source>Подключение</source>
        <translation>Connecting</translation>
    </message>
    <message>
        <source>Заргузка информации: модель</source>
        <translation>Reading device info: model</translation>
    </message>
    <message>
        <source>Загрузка информации: версия ПО</source>
        <translation>Reading device info: firmware version</translation>
    </message>
    <message>
        <source>Загрузка информации: версия железа</source>
        <translation>Reading device info: hardware version</translation>
    </message>
    <message>
        <source>Загрузка информации: тип устройства</source>
        <translation>Reading device info: variant</translation>
    </message>
    <message>
        <source>Загрузка информации: серийный номер</source>
        <translation>Reading device info: serial number</translation>
    </message>
    <message>
        <source>Загрузка информации: возможности</source>
        <translation>Reading device info: capabilities</translation>
    </message>
    <message>
        <source>Загрузка информации: напряжение батареи</source>
        <translation>Reading device info: battery voltage</translation>
    </message>
    <message>
        <source>Загрузка информации: SIM</source>
        <translation>Reading device info: SIM</translation>
    </message>
    <message>
        <source>Отсутствует</source>
        <translation>No SIM</translation>
    </message>
    <message>
        <source>Нет сети</source>
        <translation>No network</translation>
    </message>
</context>
<context>
    <name>KZSerialPort</name>
    <message>
        <source>Недопустимые настройки порта.</source>
        <translation>Invalid port settings.</translation>
    </message>
</context>
<context>
    <name>LineValues</name>
    <message>
        <source>Профиль GPRS «%1»</source>
        <translation>GPRS profile “%1”</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Точка доступа</source>
        <translation>APN</translation>
    </message>
    <message>
        <source>Имя пользователя</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Профиль NTRIP «%1»</source>
        <translation>NTRIP profile “%1”</translation>
    </message>
    <message>
        <source>Адрес кастера</source>
        <translation>Caster address</translation>
    </message>
    <message>
        <source>Порт кастера</source>
        <translation>Caster port</translation>
    </message>
    <message>
        <source>Базовая станция (mountpoint)</source>
        <translation>Mountpoint</translation>
    </message>
    <message>
        <source>Имя клиента</source>
        <translation>Client user name</translation>
    </message>
    <message>
        <source>Пароль клиента</source>
        <translation>Client password</translation>
    </message>
    <message>
        <source>Пароль сервера</source>
        <translation>Server password</translation>
    </message>
    <message>
        <source>Строка SOURCETABLE</source>
        <translation>Sourcetable entry</translation>
    </message>
    <message>
        <source>Домен</source>
        <translation>Domain</translation>
    </message>
    <message>
        <source>Пользователь</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>Автозапуск</source>
        <translation>Autostart</translation>
    </message>
    <message>
        <source>Команда</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>CR (возврат каретки)</source>
        <translation>CR (carriage return)</translation>
    </message>
    <message>
        <source>LF (перевод строки)</source>
        <translation>LF (line feed)</translation>
    </message>
    <message>
        <source>NUL (нулевой символ)</source>
        <translation>NUL (null character)</translation>
    </message>
    <message>
        <source>«,» (запятая)</source>
        <translation>“,” (comma)</translation>
    </message>
    <message>
        <source>«%1» (символ вне кодировки Latin-1)</source>
        <translation>“%1” (a character outside Latin-1)</translation>
    </message>
    <message>
        <source>%1, поле «%2»: %3 %4.</source>
        <translation>%1, field “%2”: %3 %4.</translation>
    </message>
    <message>
        <source>недопустимый символ</source>
        <translation>invalid character</translation>
    </message>
    <message>
        <source>недопустимые символы</source>
        <translation>invalid characters</translation>
    </message>
    <message>
        <source> Модем не сможет сохранить или прочитать такое значение.</source>
        <translation> The modem cannot store or read back such a value.</translation>
    </message>
    <message>
        <source>
Модем не сможет сохранить или прочитать такие значения.</source>
        <translation>
The modem cannot store or read back such values.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>KZ-Config</source>
        <translation>KZ-Config</translation>
    </message>
    <message>
        <source>Модем</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Обновить список портов</source>
        <translation>Refresh the port list</translation>
    </message>
    <message>
        <source>↻</source>
        <translation>↻</translation>
    </message>
    <message>
        <source>Скорость</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Биты данных</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>Четность</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Стоп-биты</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>Контроль потока</source>
        <translation>Flow control</translation>
    </message>
    <message>
        <source>Подключиться</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Отключиться</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Устройство</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Серийный номер</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Версия ПО</source>
        <translation>Firmware version</translation>
    </message>
    <message>
        <source>Bluetooth</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>Батарея</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>SIM</source>
        <translation>SIM</translation>
    </message>
    <message>
        <source>Создать отчёт</source>
        <translation>Create report</translation>
    </message>
    <message>
        <source>Включить в отчёт профили</source>
        <translation>Include profiles in the report</translation>
    </message>
    <message>
        <source>Управление настройками</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Сохранить набор настроек</source>
        <translation>Save configuration</translation>
    </message>
    <message>
        <source>Загрузить набор настроек</source>
        <translation>Load configuration</translation>
    </message>
    <message>
        <source>Сброс настроек</source>
        <translation>Reset configuration</translation>
    </message>
    <message>
        <source>Соединение</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Базовая станция</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>CSD</source>
        <translation>CSD</translation>
    </message>
    <message>
        <source>TCP-сервер</source>
        <translation>TCP server</translation>
    </message>
    <message>
        <source>NTRIP-сервер</source>
        <translation>NTRIP server</translation>
    </message>
    <message>
        <source>Профиль NTRIP:</source>
        <translation>NTRIP profile:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>NTRIP-кастер</source>
        <translation>NTRIP caster</translation>
    </message>
    <message>
        <source>Профиль GPRS:</source>
        <translation>GPRS profile:</translation>
    </message>
    <message>
        <source>DynDNS</source>
        <translation>DynDNS</translation>
    </message>
    <message>
        <source>Настроить DynDNS</source>
        <translation>Set up DynDNS</translation>
    </message>
    <message>
        <source>Ровер</source>
        <translation>Rover</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>TCP-клиент</source>
        <translation>TCP client</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>NTRIP-клиент</source>
        <translation>NTRIP client</translation>
    </message>
    <message>
        <source>Переподключение</source>
        <translation>Reconnect</translation>
    </message>
    <message>
        <source>Автозапуск на COM</source>
        <translation>Autostart on COM</translation>
    </message>
    <message>
        <source>Автозапуск на Bluetooth</source>
        <translation>Autostart on Bluetooth</translation>
    </message>
    <message>
        <source>Команда:</source>
        <translation>Command:</translation>
    </message>
    <message>
        <source>Проверить в терминале</source>
        <translation>Try in terminal</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Порты</source>
        <translation>Ports</translation>
    </message>
    <message>
        <source>COM</source>
        <translation>COM</translation>
    </message>
    <message>
        <source>Формат кадра</source>
        <translation>Framing</translation>
    </message>
    <message>
        <source>Режим работы:</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>Режим 0: Bluetooth отключен</source>
        <translation>Mode 0: Bluetooth off</translation>
    </message>
    <message>
        <source>Режим 1: Ожидание подключения</source>
        <translation>Mode 1: Wait for a connection</translation>
    </message>
    <message>
        <source>Режим 2: Подключаться к устройству:</source>
        <translation>Mode 2: Connect to device:</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>PIN</source>
        <translation>PIN</translation>
    </message>
    <message>
        <source>Сохранить режим</source>
        <translation>Save mode</translation>
    </message>
    <message>
        <source>Поиск устройств</source>
        <translation>Search devices</translation>
    </message>
    <message>
        <source>Обновление ПО</source>
        <translation>Firmware update</translation>
    </message>
    <message>
        <source>Обновление внутреннего ПО модема</source>
        <translation>Modem firmware update</translation>
    </message>
    <message>
        <source>Файл с обновлением:</source>
        <translation>Update file:</translation>
    </message>
    <message>
        <source>Обзор...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Обновление:</source>
        <translation>Update:</translation>
    </message>
    <message>
        <source>Модель</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Версия оборудования</source>
        <translation>Hardware version</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Выполнение привелегированных инструкций</source>
        <translation>Privileged commands</translation>
    </message>
    <message>
        <source>Введите AUTH-код:</source>
        <translation>Enter the AUTH code:</translation>
    </message>
    <message>
        <source>Выполнить</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Терминал</source>
        <translation>Terminal</translation>
    </message>
    <message>
        <source>Отправить</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>+++</source>
        <translation>+++</translation>
    </message>
    <message>
        <source>Положить трубку</source>
        <translation>Hang up</translation>
    </message>
    <message>
        <source>Найти модем</source>
        <translation>Find modem</translation>
    </message>
    <message>
        <source>Остановить поиск</source>
        <translation>Stop search</translation>
    </message>
    <message>
        <source>Найти порт и скорость модема</source>
        <translation>Find the modem&apos;s port and baud rate</translation>
    </message>
    <message>
        <source>Модем найден: %1, %2 бит/с%3</source>
        <translation>Modem found: %1, %2 bit/s%3</translation>
    </message>
    <message>
        <source>Последовательные порты не найдены.</source>
        <translation>No serial ports found.</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Модем не найден.</source>
        <translation>No modem found.</translation>
    </message>
    <message>
        <source>Запустить приложение</source>
        <translation>Start application</translation>
    </message>
    <message>
        <source>Обновить ПО</source>
        <translation>Update firmware</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Не удалось запустить приложение модема.</source>
        <translation>Could not start the modem application.</translation>
    </message>
    <message>
        <source>Выберите файл с обновлением и нажмите «Обновить».</source>
        <translation>Choose the update file and click “Update”.</translation>
    </message>
    <message>
        <source>Связь с модемом потеряна.</source>
        <translation>Connection to the modem lost.</translation>
    </message>
    <message>
        <source>скорость COM</source>
        <translation>COM baud rate</translation>
    </message>
    <message>
        <source>формат кадра</source>
        <translation>framing</translation>
    </message>
    <message>
        <source>контроль потока</source>
        <translation>flow control</translation>
    </message>
    <message>
        <source>профили GPRS</source>
        <translation>GPRS profiles</translation>
    </message>
    <message>
        <source>профили NTRIP</source>
        <translation>NTRIP profiles</translation>
    </message>
    <message>
        <source>режим работы (автозапуск)</source>
        <translation>operating mode (autostart)</translation>
    </message>
    <message>
        <source>Связь с модемом потеряна во время записи.</source>
        <translation>Connection to the modem lost while writing.</translation>
    </message>
    <message>
        <source> Записано: %1.</source>
        <translation> Written: %1.</translation>
    </message>
    <message>
        <source> Ничего не записано.</source>
        <translation> Nothing was written.</translation>
    </message>
    <message>
        <source> Не записано: %1.</source>
        <translation> Not written: %1.</translation>
    </message>
    <message>
        <source> Подключитесь к модему заново и проверьте настройки.</source>
        <translation> Reconnect to the modem and check its settings.</translation>
    </message>
    <message>
        <source>Идёт подключение к модему. Закрыть программу после его окончания?</source>
        <translation>Connecting to the modem. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт чтение настроек модема. Закрыть программу после его окончания?</source>
        <translation>Reading the modem settings. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт запись настроек в модем. Закрыть программу после её окончания?</source>
        <translation>Writing settings to the modem. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт поиск устройств Bluetooth. Закрыть программу после его окончания?</source>
        <translation>Searching for Bluetooth devices. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт сбор данных для отчёта. Закрыть программу после его окончания?</source>
        <translation>Collecting data for the report. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт выполнение команды. Закрыть программу после его окончания?</source>
        <translation>Running a command. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт выход модема из режима передачи данных. Закрыть программу после его окончания?</source>
        <translation>The modem is leaving data mode. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт обмен с модемом. Закрыть программу после его окончания?</source>
        <translation>Talking to the modem. Close the program when it is done?</translation>
    </message>
    <message>
        <source>Идёт обновление ПО модема. Дождитесь его окончания: прерванное обновление оставит модем без рабочего приложения.</source>
        <translation>The modem firmware is being updated. Wait until it is done: an interrupted update leaves the modem without a working application.</translation>
    </message>
    <message>
        <source>Операция не завершена</source>
        <translation>Operation in progress</translation>
    </message>
    <message>
        <source>Программа закроется после окончания операции.</source>
        <translation>The program will close when the operation is done.</translation>
    </message>
    <message>
        <source>Настройки не сохранены</source>
        <translation>Unsaved settings</translation>
    </message>
    <message>
        <source>Режим работы был изменён, но не сохранён. Выйти из программы?</source>
        <translation>The operating mode was changed but not saved. Quit the program?</translation>
    </message>
    <message>
        <source>Код содержит перевод строки или нулевой символ и не может быть отправлен модему.</source>
        <translation>The code contains a line break or a NUL character and cannot be sent to the modem.</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Выбран режим базы без автозапуска. Модем при включении будет работать в режиме ровера до введения указанной AT-команды.</source>
        <translation>A base mode was chosen without autostart. At power-on the modem will work as a rover until the AT command shown is entered.</translation>
    </message>
    <message>
        <source>Текстовые файлы (*.txt *.log)</source>
        <translation>Text files (*.txt *.log)</translation>
    </message>
    <message>
        <source>Не удалось сохранить журнал.</source>
        <translation>Could not save the log.</translation>
    </message>
    <message>
        <source>Журнал обмена...</source>
        <translation>Exchange log…</translation>
    </message>
    <message>
        <source>Подробнее...</source>
        <translation>Details…</translation>
    </message>
    <message>
        <source>Скрыть подробности</source>
        <translation>Hide details</translation>
    </message>
    <message>
        <source>Подождите, идёт сбор данных...</source>
        <translation>Please wait, collecting data…</translation>
    </message>
    <message>
        <source>Отчёт сохранён. Связь с модемом потеряна.</source>
        <translation>Report saved. Connection to the modem lost.</translation>
    </message>
    <message>
        <source>Отчёт сохранён.</source>
        <translation>Report saved.</translation>
    </message>
    <message>
        <source>Отчёт не сохранён.</source>
        <translation>Report not saved.</translation>
    </message>
    <message>
        <source>Не удалось сохранить отчёт в файл «%1»: %2. Выберите другой файл.</source>
        <translation>Could not save the report to “%1”: %2. Choose another file.</translation>
    </message>
    <message>
        <source>Модем без приложения не сообщает версию оборудования. Файл предназначен для модели %1, версии оборудования %2. Обновить ПО модема этим файлом?</source>
        <translation>A modem without its application does not report its hardware version. The file is made for model %1, hardware version %2. Update the modem firmware with this file?</translation>
    </message>
    <message>
        <source>Обновление ПО завершено</source>
        <translation>Firmware update complete</translation>
    </message>
    <message>
        <source>Не удалось сохранить набор настроек.</source>
        <translation>Could not save the configuration.</translation>
    </message>
    <message>
        <source>Не удалось загрузить набор настроек.</source>
        <translation>Could not load the configuration.</translation>
    </message>
    <message>
        <source>Модем подключен, информация и настройки получены.</source>
        <translation>Modem connected, information and settings read.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Не удалось открыть порт. Проверьте настройки.</source>
        <translation>Could not open the port. Check the settings.</translation>
    </message>
    <message>
        <source>Не удалось открыть порт.</source>
        <translation>Could not open the port.</translation>
    </message>
    <message>
        <source>Не удалось установить соединение с модемом. Убедитесь, что он действительно подключен к указанному порту. Проверьте настройки соединения.</source>
        <translation>Could not connect to the modem. Make sure it is really attached to the chosen port. Check the connection settings.</translation>
    </message>
    <message>
        <source>Не удалось соединиться с модемом.</source>
        <translation>Could not connect to the modem.</translation>
    </message>
    <message>
        <source>Не удалось получить информацию о модеме. Проверьте, что к указанному порту подключен именно модем ORB KZ520.</source>
        <translation>Could not read the modem information. Check that the modem on the chosen port is an ORB KZ520.</translation>
    </message>
    <message>
        <source>Не удалось получить информацию о модеме.</source>
        <translation>Could not read the modem information.</translation>
    </message>
    <message>
        <source>Не удалось обновить ПО модема.</source>
        <translation>Could not update the modem firmware.</translation>
    </message>
    <message>
        <source>При выполнении команды произошла ошибка. Проверьте корректность кода и его применимость к данному модему.</source>
        <translation>The command failed. Check that the code is correct and meant for this modem.</translation>
    </message>
    <message>
        <source>Не удалось выполнить команду. Попробуйте отключиться от модема, подключиться ещё раз и выполнить настройку заново.</source>
        <translation>The command failed. Try disconnecting from the modem, connecting again and repeating the setup.</translation>
    </message>
    <message>
        <source>Не удалось выполнить команду.</source>
        <translation>The command failed.</translation>
    </message>
    <message>
        <source>Не удалось получить текущие настройки модема. Попробуйте отключиться от модема и подключиться заново.</source>
        <translation>Could not read the modem settings. Try disconnecting from the modem and connecting again.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл прошивки</source>
        <translation>Could not open the firmware file</translation>
    </message>
    <message>
        <source>Обновление ПО через Bluetooth невозможно. Переподключитесь к модему через COM-порт.</source>
        <translation>Firmware cannot be updated over Bluetooth. Reconnect to the modem over a COM port.</translation>
    </message>
    <message>
        <source>Не удалось получить настройки.</source>
        <translation>Could not read the settings.</translation>
    </message>
</context>
<context>
    <name>NtripForm</name>
    <message>
        <source>Профили NTRIP</source>
        <translation>NTRIP profiles</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Общие настройки</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Адрес кастера</source>
        <translation>Caster address</translation>
    </message>
    <message>
        <source>Порт кастера</source>
        <translation>Caster port</translation>
    </message>
    <message>
        <source>Базовая станция
(mountpoint)</source>
        <translation>Mountpoint</translation>
    </message>
    <message>
        <source>NTRIP-клиент</source>
        <translation>NTRIP client</translation>
    </message>
    <message>
        <source>Имя клиента</source>
        <translation>Client user name</translation>
    </message>
    <message>
        <source>Пароль клиента</source>
        <translation>Client password</translation>
    </message>
    <message>
        <source>NTRIP-сервер</source>
        <translation>NTRIP server</translation>
    </message>
    <message>
        <source>Пароль сервера</source>
        <translation>Server password</translation>
    </message>
    <message>
        <source>NTRIP-кастер</source>
        <translation>NTRIP caster</translation>
    </message>
    <message>
        <source>Строка SOURCETABLE (без STR и кода станции):</source>
        <translation>Sourcetable entry (without STR and the mountpoint):</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>PortError</name>
    <message>
        <source>Порт не указан.</source>
        <translation>No port given.</translation>
    </message>
    <message>
        <source>Порт %1 не существует.</source>
        <translation>Port %1 does not exist.</translation>
    </message>
    <message>
        <source>%1 не является последовательным портом.</source>
        <translation>%1 is not a serial port.</translation>
    </message>
    <message>
        <source>Нет прав на открытие порта %1.</source>
        <translation>No permission to open port %1.</translation>
    </message>
    <message>
        <source>Нет прав на открытие порта %1. Устройство принадлежит группе «%2»: добавьте пользователя в эту группу (sudo usermod -aG %2 $USER) и войдите в систему заново.</source>
        <translation>No permission to open port %1. The device belongs to group “%2”: add the user to that group (sudo usermod -aG %2 $USER) and log in again.</translation>
    </message>
    <message>
        <source>Порт %1 занят другой программой.</source>
        <translation>Port %1 is in use by another program.</translation>
    </message>
    <message>
        <source>Порт %1 не открылся.</source>
        <translation>Port %1 did not open.</translation>
    </message>
    <message>
        <source>Порт %1 не открылся: %2</source>
        <translation>Port %1 did not open: %2</translation>
    </message>
</context>
<context>
    <name>PortNames</name>
    <message>
        <source>Производитель: </source>
        <translation>Manufacturer: </translation>
    </message>
    <message>
        <source>Серийный номер: </source>
        <translation>Serial number: </translation>
    </message>
    <message>
        <source>Последовательный порт Bluetooth</source>
        <translation>Bluetooth serial port</translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>файл слишком короткий</source>
        <translation>the file is too short</translation>
    </message>
    <message>
        <source>указанная в файле длина текста не соответствует данным</source>
        <translation>the text length in the file does not match the data</translation>
    </message>
    <message>
        <source>сжатые данные повреждены</source>
        <translation>the compressed data are damaged</translation>
    </message>
    <message>
        <source>длина распакованного текста (%1) не совпадает с указанной в файле (%2)</source>
        <translation>the decompressed text length (%1) differs from the one in the file (%2)</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>файл не удаётся открыть (%1)</source>
        <translation>the file cannot be opened (%1)</translation>
    </message>
    <message>
        <source>данные не удаётся записать (%1)</source>
        <translation>the data cannot be written (%1)</translation>
    </message>
    <message>
        <source>не указано имя файла</source>
        <translation>no file name given</translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>файл защищён от записи</source>
        <translation>the file is write-protected</translation>
    </message>
    <message>
        <source>файл не удаётся создать (%1)</source>
        <translation>the file cannot be created (%1)</translation>
    </message>
    <message>
        <source>файл не удаётся записать на место (%1)</source>
        <translation>the file cannot be put in place (%1)</translation>
    </message>
    <message>
        <source>файл больше %1 МиБ</source>
        <translation>the file is larger than %1 MiB</translation>
    </message>
    <message>
        <source>файл не удаётся прочитать (%1)</source>
        <translation>the file cannot be read (%1)</translation>
    </message>
</context>
<context>
    <name>TerminalModel</name>
    <message>
        <source>[Более ранние строки удалены: %1]
</source>
        <translation>[%1 earlier lines removed]
</translation>
    </message>
</context>
<context>
    <name>TerminalView</name>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Сохранить...</source>
        <translation>Save…</translation>
    </message>
</context>
<context>
    <name>TransferProgress</name>
    <message>
        <source>Сбор данных: запрос %1 из %2 (%3)</source>
        <translation>Collecting data: query %1 of %2 (%3)</translation>
    </message>
    <message>
        <source>Обновление ПО: предварительные команды</source>
        <translation>Firmware update: pre-commands</translation>
    </message>
    <message>
        <source>Обновление ПО: остановка приложения</source>
        <translation>Firmware update: stopping the application</translation>
    </message>
    <message>
        <source>Обновление ПО: запуск приложения</source>
        <translation>Firmware update: starting the application</translation>
    </message>
    <message>
        <source>Обновление ПО: передача файла %1</source>
        <translation>Firmware update: sending file %1</translation>
    </message>
    <message>
        <source>Обновление ПО: завершающие команды</source>
        <translation>Firmware update: post-commands</translation>
    </message>
    <message>
        <source>запрос %1 из %2</source>
        <translation>query %1 of %2</translation>
    </message>
    <message>
        <source>%1 из %2 байт</source>
        <translation>%1 of %2 bytes</translation>
    </message>
    <message>
        <source>, осталось </source>
        <translation>, time left </translation>
    </message>
    <message>
        <source>: передача файла </source>
        <translation>: sending file </translation>
    </message>
    <message>
        <source>: запрос </source>
        <translation>: query </translation>
    </message>
    <message>
        <source>? %1/с</source>
        <translation>? %1/s</translation>
    </message>
    <message>
        <source>запр.</source>
        <translation>q.</translation>
    </message>
    <message>
        <source>Б</source>
        <translation>B</translation>
    </message>
    <message>
        <source>%1 запр./с</source>
        <translation>%1 q./s</translation>
    </message>
    <message>
        <source>%1 Б/с</source>
        <translation>%1 B/s</translation>
    </message>
    <message>
        <source>%1 КБ/с</source>
        <translation>%1 KB/s</translation>
    </message>
</context>
</TS>
