#pragma once

#include <QString>

// Which Syncthing device this computer is. Syncthing names a conflict copy
// after the device whose version won and stays under the file's own name, so
// a copy is known to be another computer's text only when the name carries
// this computer's own device.
namespace syncthingdevice {

// The seven characters Syncthing's names use for this computer's device, from
// the certificate in its home folder (STHOMEDIR, as Syncthing itself reads it,
// or its default places), read anew each time; empty when none is found.
QString thisShortId();

// From a certificate in PEM: the first seven base32 characters of the SHA-256
// of its DER bytes, which is how a device id begins.
QString shortIdOf(const QByteArray &pem);

} // namespace syncthingdevice
