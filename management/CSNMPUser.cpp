#include "CSNMPUser.h"

#include "CListCtrlEx.h"
#include "CSNMPConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace {
constexpr int kMaxUsers = 50;
}

CSNMPUser::CSNMPUser(QWidget* parent)
    : CSNMPTableDialog(QStringLiteral("SNMP User Table "), parent)
{
    auto* inputs = new QGroupBox(this);
    auto* form = new QFormLayout(inputs);
    m_pName = new QLineEdit(inputs);
    m_pName->setMaxLength(32);
    m_pGroup = new QLineEdit(inputs);
    m_pGroup->setMaxLength(32);
    m_pVersion = new QComboBox(inputs);
    m_pVersion->addItems({QStringLiteral("V1"), QStringLiteral("V2c"), QStringLiteral("V3")});
    m_pEncrypted = new QCheckBox(QStringLiteral("encrypted"), inputs);
    m_pAuth = new QComboBox(inputs);
    m_pAuth->addItems({QStringLiteral("MD5"), QStringLiteral("SHA")});
    m_pAuthPassword = new QLineEdit(inputs);
    m_pAuthPassword->setEchoMode(QLineEdit::Password);
    m_pPriv = new QComboBox(inputs);
    m_pPriv->addItems({QStringLiteral("DES"), QStringLiteral("None")});
    m_pPrivPassword = new QLineEdit(inputs);
    m_pPrivPassword->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("User Name"), m_pName);
    form->addRow(QStringLiteral("Group Name"), m_pGroup);
    form->addRow(QStringLiteral("SNMP Version"), m_pVersion);
    form->addRow(QString(), m_pEncrypted);
    form->addRow(QStringLiteral("Auth-Protocol"), m_pAuth);
    form->addRow(QStringLiteral("Password"), m_pAuthPassword);
    form->addRow(QStringLiteral("Priv-Protocol"), m_pPriv);
    form->addRow(QStringLiteral("Password"), m_pPrivPassword);
    ContentLayout()->addWidget(inputs);
    AddTable(QStringLiteral("User Table Info"),
             {{QStringLiteral("User Name"), 100}, {QStringLiteral("Group Name"), 100},
              {QStringLiteral("SNMP Version"), 100}, {QStringLiteral("Auth Protocol"), 105},
              {QStringLiteral("Priv-Protocol"), 105}});

    connect(m_pVersion, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
    connect(m_pEncrypted, &QCheckBox::toggled, this, [this] { UpdateControls(); });
    connect(m_pPriv, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
    UpdateControls();
}

void CSNMPUser::UpdateControls()
{
    // Protocols and passwords apply to version 3 users with "encrypted" only.
    const bool v3 = m_pVersion->currentText() == QLatin1String("V3");
    const bool secured = v3 && m_pEncrypted->isChecked();
    m_pEncrypted->setEnabled(v3);
    m_pAuth->setEnabled(secured);
    m_pAuthPassword->setEnabled(secured);
    m_pPriv->setEnabled(secured);
    m_pPrivPassword->setEnabled(secured && m_pPriv->currentText() == QLatin1String("DES"));
}

bool CSNMPUser::StartWalk()
{
    return Config()->GetUserTable();
}

void CSNMPUser::OnRow(int nCode, const void* pData)
{
    if (nCode != MN_USER_ROW)
        return;
    const auto* row = static_cast<const SNMP_USER_ROW*>(pData);
    if (row->strRowStatus == QLatin1String("1"))
        List()->AppendRow({row->strName, row->strGroup, row->strVersion, row->strAuthProtocol, row->strPrivProtocol});
}

QString CSNMPUser::RowStatusOid(int item) const
{
    return CSNMPConfig::UserColumn(8)
           + CSNMPConfig::MakeModelIndex(List()->GetItemText(item, 0), List()->GetItemText(item, 2));
}

void CSNMPUser::ClearInputs()
{
    m_pName->clear();
    m_pGroup->clear();
    m_pAuthPassword->clear();
    m_pPrivPassword->clear();
    m_pVersion->setCurrentIndex(0);
    m_pAuth->setCurrentIndex(0);
    m_pPriv->setCurrentIndex(0);
    m_pEncrypted->setChecked(false);
    UpdateControls();
}

void CSNMPUser::Refuse(const QString& text, QLineEdit* focus)
{
    Message(text);
    if (focus) {
        focus->setFocus();
        focus->selectAll();
    }
}

void CSNMPUser::OnApply()
{
    const QString name = m_pName->text().trimmed();
    const QString group = m_pGroup->text().trimmed();
    if (name.isEmpty())
        return Refuse(QStringLiteral("Please enter valid User Name "));
    if (!CSNMPConfig::CheckName(name))
        return Refuse(QStringLiteral("Invalid User Name ."));
    if (group.isEmpty())
        return Refuse(QStringLiteral("Please enter valid Group Name "));
    if (!CSNMPConfig::CheckName(group))
        return Refuse(QStringLiteral("Invalid Group Name."));
    const QString version = m_pVersion->currentText();
    for (int i = 0; i < List()->GetItemCount(); ++i)
        if (List()->GetItemText(i, 0) == name && List()->GetItemText(i, 2) == version)
            return Refuse(QStringLiteral("This User Entry already exists."));
    if (List()->GetItemCount() >= kMaxUsers)
        return Refuse(QStringLiteral("Maximum number of User Entry is 50."));

    QString auth = QStringLiteral("None");
    QString authPassword;
    QString priv = QStringLiteral("None");
    QString privPassword;
    // The box keeps its state when another version is chosen, and its
    // passwords are checked whenever it is checked (only a V3 user sends them).
    if (m_pEncrypted->isChecked()) {
        auth = m_pAuth->currentText();
        authPassword = m_pAuthPassword->text().trimmed();
        if (authPassword.isEmpty())
            return Refuse(QStringLiteral("Auth-Protocol Password can't be empty."), m_pAuthPassword);
        if (auth == QLatin1String("MD5") && authPassword.size() > 32)
            return Refuse(QStringLiteral(" MD5 Max. Password length is 32."), m_pAuthPassword);
        if (auth == QLatin1String("SHA") && authPassword.size() > 40)
            return Refuse(QStringLiteral(" SHA Max. Password length is 40."), m_pAuthPassword);
        priv = m_pPriv->currentText();
        if (priv == QLatin1String("DES")) {
            privPassword = m_pPrivPassword->text().trimmed();
            if (privPassword.isEmpty())
                return Refuse(QStringLiteral("Priv-Protocol Password can't be empty."), m_pPrivPassword);
            if (privPassword.size() > 32)
                return Refuse(QStringLiteral(" DES Max. Password length is 32."), m_pPrivPassword);
        }
    }
    RunCreate(CSNMPConfig::UserColumn(8) + CSNMPConfig::MakeModelIndex(name, version),
              CSNMPConfig::AddUserRequests(name, version, group, auth, authPassword, priv, privPassword),
              QStringLiteral("user %1").arg(name));
}
