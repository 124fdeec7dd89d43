#pragma once

struct Invocation;

// The commands of vaultbase-cli, one file each; CommandTable.cpp lists them.
int runList(const Invocation &invocation);
int runExport(const Invocation &invocation);
int runImport(const Invocation &invocation);
