#include "gui/mainwindow/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <mutex>

namespace trevolin::gui {

namespace {

std::mutex answererMutex;
QtPrompts::Answerer& TheAnswerer()
{
    static QtPrompts::Answerer answerer;
    return answerer;
}

}  // namespace

QtPrompts::QtPrompts(QObject* parent) : QObject(parent)
{
}

void QtPrompts::SetAnswerer(Answerer answerer)
{
    std::lock_guard lock(answererMutex);
    TheAnswerer() = std::move(answerer);
}

void QtPrompts::ShowMessage(std::string_view textKey, std::string_view text, Style style)
{
    static_cast<void>(Run(Kind::Message, textKey, text, style));
}

bool QtPrompts::AskYesNo(std::string_view textKey, std::string_view text)
{
    return Run(Kind::YesNo, textKey, text, Style::TopMost) == QMessageBox::Yes;
}

bool QtPrompts::AskOkCancel(std::string_view textKey, std::string_view text)
{
    return Run(Kind::OkCancel, textKey, text, Style::TopMost) == QMessageBox::Ok;
}

base::Prompts::Choice QtPrompts::AskApplyDiscardCancel(std::string_view textKey, std::string_view text)
{
    switch (Run(Kind::ApplyDiscardCancel, textKey, text, Style::TopMost)) {
    case QMessageBox::Apply:
        return Choice::Apply;
    case QMessageBox::Discard:
        return Choice::Discard;
    default:
        return Choice::Cancel;
    }
}

int QtPrompts::Run(Kind kind, std::string_view textKey, std::string_view text, Style style)
{
    const QString key = QString::fromUtf8(textKey.data(), static_cast<qsizetype>(textKey.size()));
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (QThread::currentThread() == thread())
        return Show(kind, key, shown, style);
    if (kind == Kind::Message) {
        if (questions_.Closed())
            return QMessageBox::Ok;
        // Nobody waits for a plain message.
        queue_.Post([this, kind, key, shown, style] { Show(kind, key, shown, style); });
        return QMessageBox::Ok;
    }
    // Only Yes/OK/Apply and No/Cancel cross threads; the three-way
    // question is the window's own.
    const bool yes = questions_.Ask([this](std::function<void()> show) { queue_.Post(std::move(show)); },
                                    [this, kind, key, shown, style] {
                                        const int button = Show(kind, key, shown, style);
                                        return button == QMessageBox::Yes || button == QMessageBox::Ok ||
                                               button == QMessageBox::Apply;
                                    });
    if (kind == Kind::ApplyDiscardCancel)
        return yes ? QMessageBox::Apply : QMessageBox::Cancel;
    if (kind == Kind::OkCancel)
        return yes ? QMessageBox::Ok : QMessageBox::Cancel;
    return yes ? QMessageBox::Yes : QMessageBox::No;
}

void QtPrompts::EndQuestions()
{
    questions_.Close();
}

int QtPrompts::Show(Kind kind, const QString& key, const QString& text, Style style)
{
    {
        std::lock_guard lock(answererMutex);
        if (TheAnswerer()) {
            const bool yes = TheAnswerer()(key.toStdString(), kind != Kind::Message);
            switch (kind) {
            case Kind::Message:
                return QMessageBox::Ok;
            case Kind::YesNo:
                return yes ? QMessageBox::Yes : QMessageBox::No;
            case Kind::OkCancel:
                return yes ? QMessageBox::Ok : QMessageBox::Cancel;
            case Kind::ApplyDiscardCancel:
                return yes ? QMessageBox::Apply : QMessageBox::Cancel;
            }
        }
    }
    QMessageBox box(owner_);
    box.setText(text);
    // The firmware question has a caption of its own; the others have none.
    box.setWindowTitle(key == QStringLiteral("VERSION_TOO_LOW") ? QStringLiteral("Version update") : QString());
    if (style == Style::TopMost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (kind) {
    case Kind::Message:
        box.setIcon(style == Style::Warning ? QMessageBox::Warning : QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::YesNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case Kind::OkCancel:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Kind::ApplyDiscardCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Apply);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box.exec();
}

}  // namespace trevolin::gui
