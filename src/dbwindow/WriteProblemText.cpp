#include "WriteProblemText.h"

#include "ChildTexts.h"
#include "shell/LanguageStore.h"

QString writeProblemText(const LanguageStore &language, SecretFile::Failure failure)
{
    switch (failure) {
    case SecretFile::Failure::FolderMissing: return language.uiText(childWindowTexts(), "m_aMFolderMissing");
    case SecretFile::Failure::FolderNotWritable: return language.uiText(childWindowTexts(), "m_aMFolderReadOnly");
    case SecretFile::Failure::FileNotWritable: return language.uiText(childWindowTexts(), "m_aMFileReadOnly");
    case SecretFile::Failure::None:
    case SecretFile::Failure::WriteFailed: break;
    }
    return language.uiText(childWindowTexts(), "m_aMDiskProblem");
}
