#pragma once

#include "core/base/Prompts.h"
#include "core/base/QuestionGate.h"
#include "gui/mainwindow/WindowQueue.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string_view>

namespace trevolin::gui {

// The core's messages and questions as message boxes on the window's
// thread. The keyboard thread asks too (the apply-or-discard question of a
// profile switch): it waits while the box is open; the window's thread never
// waits for the keyboard thread, so the two cannot lock each other. Once the
// program ends, a question the keyboard thread waits on reads No.
class QtPrompts final : public QObject, public base::Prompts {
    Q_OBJECT
public:
    explicit QtPrompts(QObject* parent = nullptr);

    // The window the boxes belong to (centred on it); none: boxes of their own.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(std::string_view textKey, std::string_view text, Style style) override;
    bool AskYesNo(std::string_view textKey, std::string_view text) override;
    bool AskOkCancel(std::string_view textKey, std::string_view text) override;
    // A test's answerer: true for Apply, false for Cancel.
    Choice AskApplyDiscardCancel(std::string_view textKey, std::string_view text) override;

    // Tests answer here instead of a box: given the text key, true for Yes
    // or OK. A message is passed with `question` false.
    using Answerer = std::function<bool(std::string_view textKey, bool question)>;
    static void SetAnswerer(Answerer answerer);

    // From now on the keyboard thread's questions are answered No at once,
    // and one it waits on now too: the window is going away.
    void EndQuestions() override;

private:
    enum class Kind { Message, YesNo, OkCancel, ApplyDiscardCancel };
    int Run(Kind kind, std::string_view textKey, std::string_view text, Style style);
    // The button the user chose (QMessageBox::StandardButton).
    int Show(Kind kind, const QString& key, const QString& text, Style style);

    QPointer<QWidget> owner_;
    base::QuestionGate questions_;
    WindowQueue queue_{this};
};

}  // namespace trevolin::gui
