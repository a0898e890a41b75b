#pragma once

// The switch's auto surveillance VLAN OUI table, as both dialogs that edit
// it (CCameraVlanSetting and CCameraVLANOUISetting) see it: its columns, the
// one check of a new entry, the texts of its rows and the writes that add
// and remove a row. A row's index is its MAC address as six decimal
// sub-identifiers; the default row 0A-3C-5E-00-00-00 stays, and at most
// five other rows exist.

#include <QByteArray>
#include <QString>
#include <QStringList>

class CSetSequence;
struct SnmpRow;

class CSurveillanceOui
{
public:
    // Columns of the table, as OIDs without the row index.
    enum { ColMac = 1, ColDescription = 2, ColMask = 3, ColType = 4, ColStatus = 5 };
    static QString Column(int nColumn);

    static constexpr int kMaxUserRows = 5;
    static constexpr int kDefaultType = 5;   // the default row's component type, never chosen
    static const QString kDefaultMac;        // "0A-3C-5E-00-00-00"

    // What is wrong with a new entry, in the order the checks run.
    enum Fault { Ok = 0, BadDescription, BadFormat, Broadcast, Multicast, VoiceOui, DefaultOui, Duplicate, TableFull };

    // strMac: xx-xx-xx-xx-xx-xx as typed (any case). bWholeOui: the entry
    // stands for its whole OUI: the text may also come without hyphens (at
    // least 12 hex digits once they are removed), and a listed row with
    // the same OUI (first six digits) is a duplicate.
    // listed: the MAC texts of the table's rows; voiceOuis: the six hex
    // digits of the voice VLAN OUIs in use. Every comparison ignores case.
    static Fault Check(const QString& strDescription, const QString& strMac, bool bWholeOui, const QStringList& listed,
                       const QStringList& voiceOuis);

    // The message of a fault as the surveillance VLAN dialog words it, or
    // with bOuiDialog as the OUI settings dialog does; empty for Ok.
    static QString FaultText(Fault fault, bool bOuiDialog);

    // "00-11-22-33-44-55" or "001122334455" -> "00-11-22-00-00-00".
    static QString OuiOf(const QString& strMac);
    // ".0.17.34.51.68.85" for "00-11-22-33-44-55" (hyphens optional).
    static QString IndexOf(const QString& strMac);
    // The MAC text of a row index "0.17.34.51.68.85"; empty when the index
    // is not six numbers of 0-255.
    static QString MacTextOfIndex(const QString& strIndex);
    // The MAC text of a walked row: its MAC cell (column nColumn), or the
    // row's index when the cell is not six octets.
    static QString RowMac(const SnmpRow& row, int nColumn);
    // The text of a component type code; a code without one as received.
    static QString TypeText(const QString& strCode);
    // The texts of the codes that can be chosen (0-4), in code order.
    static QStringList ChoosableTypes();

    // The add of strMac: step 1 creates the row (createAndGo), step 2
    // writes its description and type and, for a whole OUI, the mask
    // FF-FF-FF-00-00-00. `undo` removes the row again, for a failure in
    // step 2.
    static void AddSteps(CSetSequence& writes, CSetSequence& undo, const QString& strMac, const QString& strDescription,
                         int nType, bool bWholeOui);
    // The delete of listed row nRow (-1: none selected) whose index, as a
    // walk gives it, is indexes[nRow]: fills `writes`, or returns why the
    // row may not be deleted (nothing selected, the default row).
    static QString DeleteRow(CSetSequence& writes, int nRow, const QStringList& indexes, const QString& strMac);
};
