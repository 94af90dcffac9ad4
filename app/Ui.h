#pragma once

#include "app/CSystemTools.h"

#include <memory>

class Application;

// The program's system-tools service.
class Ui : public CSystemTools
{
public:
    explicit Ui(Application* app);
    ~Ui() override;

    // For now an empty window titled with the application name.
    CWindow* createMainWindow() override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
