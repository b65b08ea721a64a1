package com.corvantis.quillory.database;

/**
 * Stand-in for the application's word class: it declares the native methods
 * of the word-analysis library (liblexicor.so) exactly as the application
 * does, so that the library can be driven from a real JVM.
 */
public final class Word {
    static {
        System.loadLibrary("lexicor");
    }

    private Word() {}

    /** Sets the word model up once per process; always answers 0. */
    public static native int _nativeInit(int audioKind, String mediaDirectory);

    /** Difficulty level of a German word. */
    public static native int _calcDifficulty(String word);

    /** Syllable count of a German word. */
    public static native int _calcNbSyllables(String word);
}
