#pragma once
// Operator passwords: stored as Argon2id hashes (libsodium's crypto_pwhash_str,
// with its interactive limits), never as the typed text.
//
// A stored value is either such a hash (it starts with "$argon2id$") or, in a
// database written before passwords were hashed, the plain password itself;
// the login compares those in constant time and replaces them by their hash.
// An empty stored value means the operator has no password yet.
//
// Checking a password costs one hash verification whatever the stored value
// is (a hash, a plain password, something else): the time of a refused login
// then tells nothing about the operator.
//
// Nothing here writes a password anywhere; the UTF-8 copies of the typed text
// made here are wiped before they are freed.

#include "host_database/export.h"

#include <QString>

namespace host {

// The hash to store for `plain` (97 characters for the interactive limits);
// an empty string when the library could not hash (out of memory).
[[nodiscard]] WMS_HOST_DATABASE_EXPORT QString hashPassword(const QString& plain);

// True when `stored` is a hash and `plain` is its password. A stored value
// that is no usable hash is false, after verifying the stand-in hash instead.
[[nodiscard]] WMS_HOST_DATABASE_EXPORT bool verifyPassword(const QString& stored, const QString& plain);

// Verifies `plain` against the stand-in hash, a hash built into the library
// whose password nobody knows, made with hashPassword()'s limits: the cost of
// a password check where there is no stored hash to check.
WMS_HOST_DATABASE_EXPORT void verifyStandIn(const QString& plain);

// The stand-in hash itself.
WMS_HOST_DATABASE_EXPORT QString standInHash();

// How many hash verifications this process has done (verifyPassword,
// verifyStandIn, plainPasswordMatches): what a login cost, for its tests.
WMS_HOST_DATABASE_EXPORT quint64 passwordVerifications();

// True when `stored` is a hash written by hashPassword().
[[nodiscard]] WMS_HOST_DATABASE_EXPORT bool isPasswordHash(const QString& stored);

// Compares a stored plain password with the typed one, in a time that does not
// depend on where they differ or on their lengths, and verifies the stand-in
// hash as well, so that it costs what checking a stored hash costs.
[[nodiscard]] WMS_HOST_DATABASE_EXPORT bool plainPasswordMatches(const QString& stored, const QString& plain);

// Checks a new password typed twice: the message for the operator
// ("密码不能为空.", "两次输入的密码不一致."), or an empty string when it may be stored.
WMS_HOST_DATABASE_EXPORT QString newPasswordProblem(const QString& password, const QString& confirmation);

}  // namespace host
