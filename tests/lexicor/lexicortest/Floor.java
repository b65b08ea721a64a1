package lexicortest;

/** A native method that only gets and releases a string's characters. */
final class Floor {
    static {
        System.loadLibrary("lexicor_floor");
    }

    private Floor() {}

    static native int touch(String text);
}
