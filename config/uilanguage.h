#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>

// The language of the window and the command line: Russian, the texts the
// sources hold, or English from the embedded translation.
class UiLanguage {
public:
    enum Language { Russian, English };

    // The first that says: the --lang option ("" when not given), the
    // KZCONFIG_LANG value ("" when unset), the system's preferred UI
    // language when it is English; else Russian. An option or variable other
    // than en or ru is passed over (the option is refused before, by
    // optionValue's caller).
    static Language choose(const QString &option, const QString &environment,
                           const QStringList &systemLanguages);

    // "en" or "ru" (case-insensitive; "en_US.UTF-8" reads as "en"); false for
    // anything else.
    static bool parse(const QString &name, Language *language);

    // Whether a --lang value is one the option takes: exactly "en" or "ru".
    static bool isOptionValue(const QString &value);

    // The value of --lang VALUE or --lang=VALUE among the arguments (without
    // the program name), "" when absent; *present says whether it was given.
    // Arguments after "--" are not options.
    static QString optionValue(const QStringList &arguments, bool *present = nullptr);

    // choose() with this process's environment and system locale.
    static Language fromSystem(const QString &option);

    // Installs the program's translation and Qt's own one (the standard
    // buttons and dialogs) on the application. Russian loads only Qt's. Texts
    // of the contexts listed stay in Russian. False when the program's
    // translation is missing (Russian then stays).
    static bool install(Language language, const QByteArrayList &untranslatedContexts = {});

    static QString code(Language language);
};
