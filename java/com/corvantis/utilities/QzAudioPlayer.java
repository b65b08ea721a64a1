package com.corvantis.utilities;

/**
 * Stand-in for the application's audio player: it declares the native
 * methods of the audio library (libvocalis.so) exactly as the application
 * does, so that the library can be driven from a real JVM.
 */
public final class QzAudioPlayer {
    static {
        System.loadLibrary("vocalis");
    }

    /** Prints "Hello AudioPlayer". */
    public native void sayHello();

    /** Sets the word model up once per process; always answers 0. */
    public native int _nativeInit(int audioKind, String mediaDirectory);

    /**
     * Speaks one recording ("w1234a") of a language ("de_de"); returns when
     * the clip has ended.
     */
    public native void internalPlay(String recordingName, String languageCode);
}
