#pragma once

#include <QString>
#include <QStringList>

// The form names its fields one way and the results their columns another,
// and for the paired design one field fills two columns. These give, for the
// name of a field, the display names (parameter and release names of the
// results) of the columns the field's values fill:
//
//   single release          paired release
//   Rn      -> Rn           RT, Rt -> Rt      RC -> Rc      Rt-Rc -> Rc, Rt
//   Sn      -> Sn           ST -> St          SC -> Sc
//   Pn      -> Pn           Sn -> Scn, Stn    Pn -> Pcn, Ptn
//   Lambda  -> Final        Lambda -> FinalC, FinalT
//   Dn      -> (none)       Dn -> (none)
//
// The report puts the range text into every column of the ranged field.
namespace ReleaseRecaptureColumns {

QStringList singleRelease(const QString& fieldName);
QStringList pairedRelease(const QString& fieldName);

} // namespace ReleaseRecaptureColumns
