#pragma once

// Makes the application's own dark look current, with its icons; registered once.
void useTyStyle();
