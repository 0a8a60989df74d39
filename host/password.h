#pragma once
// Operator passwords: stored as Argon2id hashes (libsodium's crypto_pwhash_str,
// with its interactive limits), never as the typed text.
//
// A stored value is either such a hash (it starts with "$argon2id$") or, in a
// database written before passwords were hashed, the plain password itself;
// the login compares those in constant time and replaces them by their hash.
// An empty stored value means the operator has no password yet.
//
// Nothing here writes a password anywhere; the UTF-8 copies of the typed text
// made here are wiped before they are freed.

#include "host_database/export.h"

#include <QString>

namespace host {

// The hash to store for `plain` (97 characters for the interactive limits);
// an empty string when the library could not hash (out of memory).
[[nodiscard]] WMS_HOST_DATABASE_EXPORT QString hashPassword(const QString& plain);

// True when `stored` is a hash and `plain` is its password.
[[nodiscard]] WMS_HOST_DATABASE_EXPORT bool verifyPassword(const QString& stored, const QString& plain);

// True when `stored` is a hash written by hashPassword().
[[nodiscard]] WMS_HOST_DATABASE_EXPORT bool isPasswordHash(const QString& stored);

// Compares a stored plain password with the typed one, in a time that does not
// depend on where they differ or on their lengths.
[[nodiscard]] WMS_HOST_DATABASE_EXPORT bool plainPasswordMatches(const QString& stored, const QString& plain);

// Checks a new password typed twice: the message for the operator
// ("密码不能为空.", "两次输入的密码不一致."), or an empty string when it may be stored.
WMS_HOST_DATABASE_EXPORT QString newPasswordProblem(const QString& password, const QString& confirmation);

}  // namespace host
