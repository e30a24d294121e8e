// The nomatool subcommands; each returns the process exit status.
#pragma once

int CmdSjis(int argc, char** argv);
int CmdUtf8(int argc, char** argv);
int CmdTextLines(int argc, char** argv);
int CmdResBuild(int argc, char** argv);
int CmdResDump(int argc, char** argv);
int CmdCompute(int argc, char** argv);
int CmdCompare(int argc, char** argv);
int CmdIniGet(int argc, char** argv);
int CmdGfx(int argc, char** argv);
int CmdDemoArt(int argc, char** argv);
int CmdCheck(int argc, char** argv);
