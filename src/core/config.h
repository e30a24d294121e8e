// Key files: NOMA.ini and every other file of keys and values.
#pragma once

#include <cstdint>

// The system's key file in the working folder.
constexpr const char* kSystemIniFile = "NOMA.ini";

// Room a caller gives GetIniString for a value: a key file line holds at most 255 characters.
constexpr int kIniValueSize = 256;

// Looks `key` up in `file`; copies the value (blanks removed) into `value`, which must hold
// kIniValueSize bytes, and returns it; nullptr when the key or the file is missing.
char* GetIniString(const char* key, char* value, const char* file);
// First group of decimal digits of the value; -1 when missing or without digits.
int GetIniNumber(const char* key, const char* file);
// on/off/yes/no (first contained, in that order) as 1/0/1/0; -1 otherwise.
int GetIniBool(const char* key, const char* file);

char* SysString(const char* key, char* value);  // GetIniString on NOMA.ini
int16_t SysNumber(const char* key);             // GetIniNumber on NOMA.ini, as 16 bits

// Sets and clears the flag bits that the ON/OFF lines of NOMA.ini name; 0, or 6 when NOMA.ini
// cannot be opened.
int ReadSystemFlags();
