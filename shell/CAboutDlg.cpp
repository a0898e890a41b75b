#include "CAboutDlg.h"

#include "AppIcon.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowIcon(LoadAppIcon());

    auto* icon = new QLabel(this);
    icon->setPixmap(LoadAppIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    setWindowTitle(g_strDeviceName + QStringLiteral(" Module"));
    auto* name = new QLabel(g_strDeviceName + QStringLiteral(" Management Module"), this);
    SetControlId(name, IDC_MODULE_NAME);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);

    auto* versions = new QGridLayout;
    versions->setHorizontalSpacing(4);
    versions->addWidget(new QLabel(QStringLiteral("Firmware Version         "), this), 0, 0);
    versions->addWidget(new QLabel(QStringLiteral(": 2.51.***"), this), 0, 1);
    versions->addWidget(new QLabel(QStringLiteral("Orvane Module Version   "), this), 1, 0);
    versions->addWidget(new QLabel(QStringLiteral(": 2.0.0.4"), this), 1, 1);
    versions->addWidget(new QLabel(QStringLiteral("Hardware: A1"), this), 2, 0, 1, 2);
    versions->setColumnStretch(2, 1);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addLayout(versions);
    texts->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addWidget(icon);
    body->addSpacing(8);
    body->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), IDC_OK);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(body);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

