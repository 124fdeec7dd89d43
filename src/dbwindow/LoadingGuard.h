#pragma once

#include "MainServices.h"

// Sets the main window's loading guard for the lifetime of the object and puts back
// whatever it was before, so nested fills keep it set until the outermost ends. While it
// is set, editors being filled report no edits.
class LoadingGuard
{
public:
    explicit LoadingGuard(MainServices &main) : m_main(main), m_previous(main.loadingGuard())
    {
        m_main.setLoadingGuard(true);
    }
    ~LoadingGuard() { m_main.setLoadingGuard(m_previous); }
    LoadingGuard(const LoadingGuard &) = delete;
    LoadingGuard &operator=(const LoadingGuard &) = delete;

private:
    MainServices &m_main;
    bool m_previous;
};
