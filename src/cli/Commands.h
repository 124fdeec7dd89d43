#pragma once

struct Invocation;

// The commands of vaultbase-cli, one file each; CommandTable.cpp lists them.
int runList(const Invocation &invocation);
int runExport(const Invocation &invocation);
int runImport(const Invocation &invocation);
int runShow(const Invocation &invocation);
int runGenerate(const Invocation &invocation);
int runRate(const Invocation &invocation);
int runChecksum(const Invocation &invocation);
int runInfo(const Invocation &invocation);
int runAttach(const Invocation &invocation);
int runPortable(const Invocation &invocation);
int runKeyFile(const Invocation &invocation);
