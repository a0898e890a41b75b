#pragma once

// Edit for a server address that may be IPv4 or IPv6, with an interface name
// after a "%" on link-local IPv6 addresses (fe80::1%eth0). It classifies its
// text whenever the text changes (typed or set by the program) and again when
// it loses the focus, so the status the owner reads before a write is never
// stale. It shows no message by itself; the owner calls ShowAddressError.
//
// The address part is lower-cased; the interface name keeps its case.
// Blanks around the whole text, and before the "%", are ignored. The checks
// and conversions are CUtils' own, so this edit accepts exactly the
// addresses every other address field of the program accepts.
//
// While its text is not empty and not a valid address the edit is marked
// (a warning icon whose tooltip gives the reason, the text in red), and a
// dialog on CConfigDialog keeps Apply off. It is as wide as the longest
// address with an interface name and does not grow with the window.
//
// The Add...Value operations take any session type with
//   AddValue(const char* oid, int type, const char* value)
//   AddValueBytes(const char* oid, int type, const void* data, int length)
// and add nothing (returning false) unless the status is valid.

#include "CUtils.h"

#include <QByteArray>
#include <QLineEdit>
#include <QString>

class CEditEXIPV6 : public QLineEdit
{
    Q_OBJECT

public:
    enum Status {
        StatusValid = 1,
        StatusInvalid = 0,
        StatusInterfaceNameTooLong = -1,
        StatusLinkLocalWithoutInterface = -2,
    };
    // Longest interface name the switch takes, in octets.
    static constexpr int kMaxInterfaceNameLength = CUtils::kMaxInterfaceNameLength;
    // SNMP value type codes used here.
    static constexpr int kTypeInteger = 1;
    static constexpr int kTypeOctetString = 2;

    // Outcome of classifying one text.
    struct Classification
    {
        int nStatus = StatusInvalid;
        QString strAddressType;   // "1" IPv4, "2" IPv6, empty when not valid
        QString strAddress;       // without the interface-name part
        QString strInterfaceName; // IPv6 only
    };

    explicit CEditEXIPV6(QWidget* parent = nullptr);

    // Classifies a text; bCheckScope as SetCheckScope.
    static Classification Classify(const QString& strText, bool bCheckScope);

    // Classifies the current text now and returns the status. Also runs on
    // every text change and when the edit loses the focus.
    int OnKillFocus();

    // With check-scope off the edit refuses any "%" and skips the
    // link-local rules. On from construction.
    void SetCheckScope(bool bCheckScope);
    bool GetCheckScope() const { return m_bCheckScope; }

    int GetStatus() const { return m_nStatus; }
    // A text is there and it is not a valid address (what the mark shows).
    bool IsMarkedInvalid() const { return m_bMarked; }
    bool IsValid() const { return m_nStatus == StatusValid; }
    // "1" or "2" from the last valid address seen; it is kept when the text
    // later turns invalid (the status then tells).
    QString GetAddressType() const { return m_strAddressType; }
    QString GetAddress() const { return m_strAddress; }
    QString GetInterfaceName() const { return m_strInterfaceName; }
    // 4 or 16 for a valid address, else 0.
    int GetAddressLength() const;
    // A valid IPv6 address in fe80::/10 (begins fe8, fe9, fea or feb).
    bool IsLinkLocal() const;

    // The message for the current status (nothing while valid).
    void ShowAddressError();
    static QString AddressErrorText(int nStatus);

    // The 4 or 16 octets of a valid address, else empty.
    QByteArray GetAddressOctets() const;
    // The address as OID sub-identifiers without a leading dot (IPv4 its
    // decimal fields, IPv6 its 16 octets in decimal); empty unless valid.
    QString GetAddressOidIndex() const;

    template <class Session>
    bool AddAddressTypeValue(Session& session, const QString& strOid) const
    {
        if (!IsValid())
            return false;
        session.AddValue(strOid.toLatin1().constData(), kTypeInteger, m_strAddressType.toLatin1().constData());
        return true;
    }

    template <class Session>
    bool AddAddressValue(Session& session, const QString& strOid) const
    {
        const QByteArray octets = GetAddressOctets();
        if (octets.isEmpty())
            return false;
        session.AddValueBytes(strOid.toLatin1().constData(), kTypeOctetString, octets.constData(), int(octets.size()));
        return true;
    }

    // Link-local addresses only; for any other address nothing is added.
    template <class Session>
    bool AddInterfaceNameValue(Session& session, const QString& strOid) const
    {
        if (!IsLinkLocal())
            return false;
        session.AddValue(strOid.toLatin1().constData(), kTypeOctetString, m_strInterfaceName.toUtf8().constData());
        return true;
    }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The status or the mark changed (typed, set, or scope changed).
    void statusChanged(int nStatus);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Update(const QString& strText);
    void ShowMark();

    QString m_strAddressType;
    QString m_strAddress;
    QString m_strInterfaceName;
    int m_nStatus = StatusInvalid;
    bool m_bCheckScope = true;
    bool m_bMarked = false;
    class QAction* m_pMark = nullptr;
};
