#pragma once

#include "CubeAnimation.h"

#include <QDialog>
#include <QTimer>

class QLabel;

namespace zelmox {

class ShellOpener;

// The About box: the logo, the release, the operating system, links to the maker and a turning
// wireframe cube. It is made once and shown again and again; the cube goes on from where it
// stopped.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 428;
    static constexpr int ClientHeight = 316;
    static constexpr int TimerIntervalMs = 20;

    // versionText is what lVersion shows (release date, " / ", version).
    TfrmAbout(const QString& versionText, ShellOpener& shell, QWidget* parent = nullptr);

    const CubeAnimation& Cube() const { return cube_; }
    // One animation step.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    void ShowPicture();

    QString versionText_;
    ShellOpener& shell_;
    CubeAnimation cube_;
    QTimer timer1_;
    QLabel* lVersion_ = nullptr;
    QLabel* lSystem_ = nullptr;
    QLabel* image3_ = nullptr;
};

} // namespace zelmox
