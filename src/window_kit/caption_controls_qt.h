// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

namespace zelvorn {

// A push button whose caption wraps onto several centred lines inside its
// fixed size, as the buttons of a classic fixed dialog show it. The "&" access
// key works as on any QPushButton.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(const QString& caption, QWidget* parent = nullptr);
    // Where the caption is drawn; all of it must fit inside.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A check box whose caption wraps onto several left-aligned lines beside the
// box; a click anywhere on the control, caption included, toggles it.
class CaptionCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CaptionCheckBox(const QString& caption, QWidget* parent = nullptr);
    // Where the caption is drawn, right of the box; all of it must fit inside.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// A frame with its caption on its top border, as a classic group box shows it.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit CaptionFrame(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zelvorn
