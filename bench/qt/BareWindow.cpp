// The smallest Qt program with a window of the desktop program's size and
// kind (frameless, see-through outside its shape), started and measured the
// way the benchmark measures the desktop program: what Qt alone costs on
// each display server.
#include <QApplication>
#include <QDateTime>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace {

class BareWindow final : public QWidget {
public:
    BareWindow()
    {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_TranslucentBackground);
        resize(1248, 540);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0x16, 0x18, 0x1d));
        painter.drawRoundedRect(rect(), 8, 8);
        if (!painted_) {
            painted_ = true;
            std::fprintf(stderr, "bare window: first frame at %lld ms\n",
                         static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        }
    }

private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    // As the desktop program does (see its start).
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION"))
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    QApplication app(argc, argv);
    BareWindow window;
    window.show();
    return QApplication::exec();
}
