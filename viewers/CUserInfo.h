#pragma once

// "SNMPv3 User Information": the agent's USM users with their group (the
// VACM mapping of security model 3) and protocols. Each user's group is
// looked up by the user's own name, so users and mappings that do not pair
// up one to one never show another user's group.

#include "CDirectTableDialog.h"

#include <QHash>

class CUserInfo : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CUserInfo(QWidget* parent = nullptr);

    void OnRefresh() override;

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
    void OnWalkEnd(int status) override;

private:
    CDirectWalk m_groupWalk;
    QHash<QString, QString> m_groups;    // security name -> group
    mutable QStringList m_userNames;     // the user of each row, from its index
};
