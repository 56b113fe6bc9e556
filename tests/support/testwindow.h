#pragma once

// The main window with its dialogs answered by the test: message boxes are
// recorded instead of shown, file dialogs and questions return what the test
// queued, modal dialogs run a callback instead of an event loop.
#include "app/mainwindow.h"

#include <QDialog>
#include <QQueue>

#include <functional>

struct ShownBox {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QString statusAfter; // the status bar text when the next box came or now
    QString details;     // the box's detailed text, if it has one
    QString informative = QString(); // the box's second text
};

class TestWindow : public MainWindow
{
public:
    QList<ShownBox> boxes;
    QList<ShownBox> questions;
    QQueue<QString> fileAnswers;                       // next file dialog results
    QQueue<QMessageBox::StandardButton> questionAnswers; // next question results
    QQueue<int> choiceAnswers;                         // next choice box results (button index)
    QList<QStringList> choicesOffered;                 // the buttons of each choice box
    // Runs instead of a modal dialog's event loop; returns Accepted or Rejected.
    std::function<int(QDialog *)> dialogHandler;

protected:
    QString chooseSaveFile(const QString &filter) override
    {
        lastFilter = filter;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }
    QString chooseOpenFile(const QString &filter) override
    {
        lastFilter = filter;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }
    void showBox(QMessageBox::Icon icon, const QString &title, const QString &text) override
    {
        boxes << ShownBox { icon, title, text, QString(), QString() };
    }
    void showDetailedBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                         const QString &details, const QString &reason) override
    {
        // Through showBox, so that a test that watches boxes sees this one too.
        showBox(icon, title, text);
        boxes.last().details = details;
        boxes.last().informative = reason;
    }
    void showReasonBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                       const QString &reason) override
    {
        // Through showBox, so that windows recording more at each box see this one too.
        showBox(icon, title, text);
        if (!boxes.isEmpty())
            boxes.last().informative = reason;
    }
    QMessageBox::StandardButton askBox(QMessageBox::Icon icon, const QString &title,
                                       const QString &text, QMessageBox::StandardButtons,
                                       QMessageBox::StandardButton defaultButton) override
    {
        questions << ShownBox { icon, title, text, QString(), QString() };
        return questionAnswers.isEmpty() ? defaultButton : questionAnswers.dequeue();
    }
    int choiceBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                  const QStringList &choices) override
    {
        questions << ShownBox { icon, title, text, QString() };
        choicesOffered << choices;
        return choiceAnswers.isEmpty() ? -1 : choiceAnswers.dequeue();
    }
    int runDialog(QDialog *dialog) override
    {
        return dialogHandler ? dialogHandler(dialog) : int(QDialog::Rejected);
    }

public:
    QString lastFilter;
};
