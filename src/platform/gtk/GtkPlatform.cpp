// GTK backend
