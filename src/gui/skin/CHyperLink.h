#pragma once

#include <QLabel>
#include <QUrl>

#include <functional>

namespace trevolin::gui {

// A link in a skinned window: its text underlines while the mouse is over
// it, and a click opens the link with the desktop's handler. When that
// fails the control beeps and says so.
class CHyperLink : public QLabel {
    Q_OBJECT

public:
    // Opens a link; the desktop's handler unless a test says otherwise.
    using Opener = std::function<bool(const QUrl&)>;
    // Shows the failure; a message box unless a test says otherwise.
    using Complaint = std::function<void(QWidget* parent, const QString& message)>;

    explicit CHyperLink(QWidget* parent = nullptr);

    void SetLink(const QString& text, const QString& target);
    QString Link() const { return target_; }
    bool Hovered() const { return hover_; }

    // Relative links ("Help/index.html") are files beside the program.
    static QUrl UrlOf(const QString& target, const QString& programFolder);

    static Opener SetOpener(Opener opener);
    static Complaint SetComplaint(Complaint complaint);

signals:
    void Opened(bool succeeded);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetHover(bool hover);

    QString target_;
    bool hover_ = false;
};

}  // namespace trevolin::gui
