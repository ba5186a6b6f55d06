#include "app/ui/AboutBox.h"

#include "app/AboutInfo.h"
#include "app/ui/AppTitle.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace tesmira::ui {

namespace {

constexpr QSize kIconSize{32, 32};
constexpr QSize kButtonSize{75, 25};

QLabel* MakeLabel(QDialog* box, const AboutLabel& label) {
    auto* widget = new QLabel(QString::fromStdString(label.text), box);
    if (label.title) {
        QFont font = widget->font();
        font.setPointSize(10);
        font.setBold(true);
        widget->setFont(font);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
        widget->setPalette(palette);
    }
    widget->adjustSize();
    return widget;
}

// A bevel area of which only the top edge is drawn, raised: a light line over a dark one.
class TopLineBevel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, 1, width() - 1, 1);
    }
};

QRect ToQt(const AboutRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

void CentreOnScreen(QDialog* box) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = box->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    box->move(frame.topLeft());
}

} // namespace

std::unique_ptr<QDialog> BuildAboutBox(QWidget* parent, std::span<const VersionValue> values) {
    const auto labels = AboutLabels(values);
    if (!labels)
        return nullptr;
    auto box = std::make_unique<QDialog>(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setWindowTitle(QStringLiteral("О программе: ") + ApplicationTitle());

    auto* image = new QLabel(box.get());
    image->setObjectName(QStringLiteral("AboutImage"));
    image->setPixmap(QApplication::windowIcon().pixmap(kIconSize));
    std::vector<QLabel*> widgets;
    std::vector<AboutSize> sizes;
    for (const AboutLabel& label : *labels) {
        widgets.push_back(MakeLabel(box.get(), label));
        sizes.push_back({widgets.back()->width(), widgets.back()->height()});
    }
    const AboutLayout layout = LayoutAboutBox({kIconSize.width(), kIconSize.height()}, sizes,
                                              {kButtonSize.width(), kButtonSize.height()});
    image->setGeometry(ToQt(layout.image));
    for (std::size_t i = 0; i < widgets.size(); ++i)
        widgets[i]->setGeometry(ToQt(layout.labels[i]));

    auto* bevel = new TopLineBevel(box.get());
    bevel->setObjectName(QStringLiteral("AboutBevel"));
    bevel->setGeometry(ToQt(layout.bevel));

    auto* ok = new QPushButton(QStringLiteral("Ok"), box.get());
    ok->setObjectName(QStringLiteral("AboutOk"));
    ok->setGeometry(ToQt(layout.button));
    ok->setCursor(Qt::PointingHandCursor);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, box.get(), &QDialog::accept);

    box->setFixedSize(layout.clientWidth(), layout.clientHeight());
    CentreOnScreen(box.get());
    return box;
}

void ShowAboutBox(QWidget* parent) {
    if (auto box = BuildAboutBox(parent, kVersionValues))
        box->exec();
}

} // namespace tesmira::ui
