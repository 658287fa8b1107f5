// The editor tests' marker notation, shared with the authoring tests.
#include "unit/editor/EditorTestUtil.cpp"
