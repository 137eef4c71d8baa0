#pragma once

// Passwords are stored as salted hashes (Argon2id at the interactive limits).
// A stored value that is no hash is a plain-text password from an older
// database: it still matches, and the login replaces it by its hash.

#include <QString>

QString HashPassword(const QString &password);

// True when `stored` is a hash made by HashPassword.
bool IsPasswordHash(const QString &stored);

// True when the typed password matches the stored value. NULL or empty
// stored means "no password": only the empty text matches it.
bool PasswordMatches(const QString &typed, const QString &stored);
