// The nomatool subcommands; each returns the process exit status.
#pragma once

int CmdSjis(int argc, char** argv);
int CmdUtf8(int argc, char** argv);
int CmdTextLines(int argc, char** argv);
int CmdResBuild(int argc, char** argv);
