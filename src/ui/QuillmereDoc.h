#pragma once

namespace quillmere {

// The document of the single-document window. The pages live in the Workspace, so it holds
// nothing.
class CQuillmereDoc {
  public:
    bool OnNewDocument() { return true; }
};

}  // namespace quillmere
