#pragma once

#include "Watch.h"

#include <QDialog>
#include <string>

namespace zelmox {

// Everything the scans recorded about one watch: its stored fields, whether its three snapshot
// files exist and its change history, newest first. It changes nothing.
class TfrmInformation : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 601;
    static constexpr int ClientHeight = 386;

    // dataFolder is where the snapshot files are looked for.
    TfrmInformation(const TWatchObject& object, const std::string& dataFolder,
                    QWidget* parent = nullptr);
};

// Shows the information page of a watch and returns when the user has closed it.
void ShowWatchInformation(const TWatchObject& object, const std::string& dataFolder,
                          QWidget* parent);

} // namespace zelmox
