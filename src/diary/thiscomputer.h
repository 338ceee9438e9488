#pragma once

#include <QString>

// This computer among those a sync tool shares the diary folder with: a
// short hash of its machine id, the same under every host name it is given.
namespace thiscomputer {

QString id();

} // namespace thiscomputer
