#pragma once
// The pictures both programs draw (answer marks, the banner) live in this
// static library's resource file; nothing registers it by itself.
// Cheap after the first call.
void LoadCommonResources();
