#include "config/uilanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

namespace {

// A translation that leaves some contexts in their source language: the
// command line keeps the progress phrases that scripts read.
class FilteredTranslator : public QTranslator {
public:
    FilteredTranslator(const QByteArrayList &untranslated, QObject *parent)
        : QTranslator(parent)
        , m_untranslated(untranslated)
    {
    }

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        if (context && m_untranslated.contains(QByteArray(context)))
            return QString();
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }

private:
    QByteArrayList m_untranslated;
};

} // namespace

bool UiLanguage::parse(const QString &name, Language *language)
{
    QString lang = name.trimmed().toLower();
    const qsizetype cut = lang.indexOf(QRegularExpression(QStringLiteral("[_.@-]")));
    if (cut >= 0)
        lang.truncate(cut);
    if (lang == QLatin1String("en")) {
        *language = English;
        return true;
    }
    if (lang == QLatin1String("ru")) {
        *language = Russian;
        return true;
    }
    return false;
}

bool UiLanguage::isOptionValue(const QString &value)
{
    return value == QLatin1String("en") || value == QLatin1String("ru");
}

UiLanguage::Language UiLanguage::choose(const QString &option, const QString &environment,
                                        const QStringList &systemLanguages)
{
    Language language = Russian;
    if (parse(option, &language) || parse(environment, &language))
        return language;
    // Only the preferred language counts; "C" and "POSIX" are not English.
    if (!systemLanguages.isEmpty() && parse(systemLanguages.first(), &language))
        return language;
    return Russian;
}

QString UiLanguage::optionValue(const QStringList &arguments, bool *present)
{
    if (present)
        *present = false;
    const QString name = QStringLiteral("--lang");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == QLatin1String("--"))
            break;
        if (arg == name || arg.startsWith(name + QLatin1Char('='))) {
            if (present)
                *present = true;
            if (arg != name)
                return arg.mid(name.size() + 1);
            return i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        }
    }
    return QString();
}

UiLanguage::Language UiLanguage::fromSystem(const QString &option)
{
    return choose(option, qEnvironmentVariable("KZCONFIG_LANG"), QLocale::system().uiLanguages());
}

QString UiLanguage::code(Language language)
{
    return language == English ? QStringLiteral("en") : QStringLiteral("ru");
}

bool UiLanguage::install(Language language, const QByteArrayList &untranslatedContexts)
{
    auto *app = QCoreApplication::instance();
    if (!app)
        return false;
    // Qt's own texts: "Да"/"Нет" in Russian, "Yes"/"No" in English. A
    // system without them keeps Qt's English.
    auto *qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_") + code(language),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    if (language == Russian)
        return true;
    auto *own = new FilteredTranslator(untranslatedContexts, app);
    if (!own->load(QStringLiteral(":/i18n/kzconfig_") + code(language) + QStringLiteral(".qm"))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    return true;
}
