#pragma once

#include "studies/design/Design.h"

#include <QByteArray>
#include <QString>

// Design files: one study design as a JSON object, so that a biologist can
// keep alternatives, send one to a colleague, open it in the window or hand
// it to the command-line calculator. The object names the design and gives
// what its form shows: the number of reaches (release-recapture designs), the
// switches (links and modes) by their names in StudyInputs, the reaches that
// share an earlier reach's survival or capture parameter, every input by the
// parameter name the window gives it, as text in the window's syntax (a
// number, or one range "start:end"), and the options the window keeps in its
// settings:
//
//   {
//     "design": "single",
//     "reaches": 3,
//     "shared": {"P2": "P1"},
//     "inputs": {"R0": "100:1000", "S1": "0.9", "P1": "0.8", ...},
//     "options": {"replicatesEnabled": false, "precisionErr": 8, ...}
//   }
//
// Reading refuses a file at its first problem with one message; the values
// themselves are checked as the window checks them, when the design is run.
namespace DesignFile {

// Files larger than this are refused unread: no design comes near it.
constexpr qint64 maximumSize = 16 * 1024 * 1024;

// Reads a design from the text of a design file. On a problem answers false,
// with *error naming the first one (a JSON syntax error with its line and
// column, a key given twice in one object with its line and column, an
// unknown design, entry, switch, parameter or option, a value of
// the wrong type, a missing input, a second range), and leaves *design as it
// was. A switch, sharing or option the file does not give keeps the state a
// new form starts in; an input that is not used (disabled by a switch or
// shared with an earlier reach) may be left out.
bool read(const QByteArray& text, Design* design, QString* error);
// read() of the file at path; a file that cannot be read, or is too large,
// is refused with its own message.
bool readFile(const QString& path, Design* design, QString* error);

// The design file of design, in the form's order: every input but those
// shared with an earlier reach (whose values are their owners'), and the
// options of the design.
QByteArray write(const Design& design);
// Writes it to path as every file of the program is written
// (ryn::saveFile): through a temporary file, which replaces path only when
// complete; false with *error saying why when it cannot be written, or when
// the design holds a test of its effect that could not be read.
bool writeFile(const QString& path, const Design& design, QString* error);

} // namespace DesignFile
