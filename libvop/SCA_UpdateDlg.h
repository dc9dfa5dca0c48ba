// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "model/SCA_Update.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// Offers a newer package of the product. The configurations and parameters are the caller's.
// GetUpdate says whether there is anything to offer; only then is the dialog run. Accepting it
// means the user chose to install, and the caller ends the program.
class SCA_UpdateDlg : public QDialog {
    Q_OBJECT
public:
    SCA_UpdateDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                  SCA_ConfigObj* params);

    // The package found by the last update check of the caller.
    void SetUpdate(const SCA_Update& update);
    // 1 when a package of this product with a version other than the running one is known.
    int GetUpdate();

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_Update m_Update;
};

// Tells, once a product-update check has finished, what it found for this product: a newer
// package goes to the log at level 3 with where to get it (the Check For Updates command). Called
// from a timer, so it never opens a box. 1 when a newer package was told.
int SCA_CheckProductUpdate(const SCA_TezConfig* config, const SCA_Update& update, bool newer);
